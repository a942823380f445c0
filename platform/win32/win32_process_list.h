#pragma once

#include <cstdint>

#include "platform/process_list.h"

namespace platform {

// The Tool Help process walk. A snapshot is the CreateToolhelp32Snapshot HANDLE; CloseHandle
// runs when its ProcessSnapshot goes away.
class Win32ProcessList final : public ProcessList {
 public:
  Win32ProcessList() = default;
  Win32ProcessList(const Win32ProcessList&) = delete;
  Win32ProcessList& operator=(const Win32ProcessList&) = delete;

  bool TakeSnapshot(ProcessSnapshot& snapshot) override;
  bool First(ProcessSnapshot& snapshot, ProcessEntry& entry) override;
  bool Next(ProcessSnapshot& snapshot, ProcessEntry& entry) override;
  bool RunsAsAdministrator() override;
  CalendarDate LocalDate() override;
  bool RunsUnderWow64() override;

 private:
  void ReleaseHandle(std::uintptr_t handle) override;
};

}  // namespace platform
