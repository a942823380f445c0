#include "platform/win32/win32_process_list.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>

#include "platform/win32/well_known_sid.h"

namespace platform {
namespace {

// The narrow record and functions, whatever UNICODE says.
using NarrowEntry = PROCESSENTRY32;
static_assert(sizeof(NarrowEntry{}.szExeFile[0]) == 1, "PROCESSENTRY32 must be the narrow record");

HANDLE AsHandle(std::uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

using Step = BOOL(WINAPI*)(HANDLE, NarrowEntry*);

bool Walk(Step step, const ProcessList* owner, ProcessSnapshot& snapshot, ProcessEntry& entry) {
  if (snapshot.OwnerObject() != owner) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  NarrowEntry record{};
  record.dwSize = sizeof record;
  if (!step(AsHandle(snapshot.Value()), &record)) return false;
  entry.exeFile.assign(record.szExeFile, strnlen(record.szExeFile, sizeof record.szExeFile));
  return true;
}

}  // namespace

bool Win32ProcessList::TakeSnapshot(ProcessSnapshot& snapshot) {
  snapshot.Close();
  const HANDLE handle = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (handle == INVALID_HANDLE_VALUE) return false;
  snapshot = MakeSnapshot(reinterpret_cast<std::uintptr_t>(handle));
  return true;
}

bool Win32ProcessList::First(ProcessSnapshot& snapshot, ProcessEntry& entry) {
  return Walk(&Process32First, this, snapshot, entry);
}

bool Win32ProcessList::Next(ProcessSnapshot& snapshot, ProcessEntry& entry) {
  return Walk(&Process32Next, this, snapshot, entry);
}

bool Win32ProcessList::RunsAsAdministrator() {
  WellKnownSid administrators(WinBuiltinAdministratorsSid);
  BOOL member = FALSE;
  // A filtered token holds the group for deny only, and CheckTokenMembership answers no.
  return administrators.Valid() && CheckTokenMembership(nullptr, administrators.Get(), &member) &&
         member != FALSE;
}

CalendarDate Win32ProcessList::LocalDate() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return CalendarDate{now.wYear, static_cast<std::uint8_t>(now.wMonth),
                      static_cast<std::uint8_t>(now.wDay)};
}

// IsWow64Process2 would also name the machines, which nothing here needs; IsWow64Process
// answers the one question on every Windows the setup runs on.
bool Win32ProcessList::RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 != FALSE;
}

void Win32ProcessList::ReleaseHandle(std::uintptr_t handle) { CloseHandle(AsHandle(handle)); }

}  // namespace platform
