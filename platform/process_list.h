#pragma once

#include <cstdint>
#include <string>

#include "platform/owned_handle.h"

namespace platform {

// A day of the calendar (GetLocalTime's wYear, wMonth and wDay).
struct CalendarDate {
  std::uint16_t year = 0;
  std::uint8_t month = 0;  // 1 to 12
  std::uint8_t day = 0;    // 1 to 31

  friend bool operator==(const CalendarDate&, const CalendarDate&) = default;
};

// One record of a process snapshot (what the setup reads of PROCESSENTRY32).
struct ProcessEntry {
  std::string exeFile;  // szExeFile: the bare executable file name
};

class ProcessList;

// A Tool Help snapshot; closing it is CloseHandle.
using ProcessSnapshot = OwnedHandle<ProcessList>;

// The Tool Help process walk of kernel32, the rights of this process and the day its clock
// shows.
class ProcessList {
 public:
  virtual ~ProcessList() = default;

  // CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0): false when no snapshot can be taken.
  virtual bool TakeSnapshot(ProcessSnapshot& snapshot) = 0;

  // Process32First: false when the snapshot holds no record.
  virtual bool First(ProcessSnapshot& snapshot, ProcessEntry& entry) = 0;

  // Process32Next: false when no record is left.
  virtual bool Next(ProcessSnapshot& snapshot, ProcessEntry& entry) = 0;

  // Whether this process runs with administrator rights: CheckTokenMembership(NULL, the
  // Administrators SID), true for an elevated administrator and for SYSTEM, false for a
  // standard user and for an administrator's filtered token (UAC, a double-click).
  virtual bool RunsAsAdministrator() = 0;

  // GetLocalTime: today in the machine's time zone, as the user's clock shows it.
  virtual CalendarDate LocalDate() = 0;
  // IsWow64Process(GetCurrentProcess()): true for a 32-bit program on 64-bit Windows, which
  // sees the 32-bit registry view; false for a 64-bit program and on 32-bit Windows.
  virtual bool RunsUnderWow64() = 0;

 protected:
  ProcessSnapshot MakeSnapshot(std::uintptr_t handle) { return ProcessSnapshot(this, handle); }

 private:
  friend class OwnedHandle<ProcessList>;
  virtual void ReleaseHandle(std::uintptr_t handle) = 0;
};

}  // namespace platform
