#pragma once

#include <windows.h>

namespace platform {

// A well-known SID (Administrators, SYSTEM, Users) in storage of its own: nothing to free.
class WellKnownSid {
 public:
  explicit WellKnownSid(WELL_KNOWN_SID_TYPE type) {
    DWORD size = sizeof bytes_;
    valid_ = CreateWellKnownSid(type, nullptr, bytes_, &size) != FALSE;
  }
  WellKnownSid(const WellKnownSid&) = delete;
  WellKnownSid& operator=(const WellKnownSid&) = delete;

  bool Valid() const { return valid_; }
  PSID Get() { return bytes_; }

 private:
  alignas(SID) BYTE bytes_[SECURITY_MAX_SID_SIZE] = {};
  bool valid_ = false;
};

}  // namespace platform
