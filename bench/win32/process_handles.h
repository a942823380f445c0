#pragma once

#include <windows.h>

namespace bench {

// Closes a process and thread handle pair when it goes.
class ProcessHandles {
 public:
  explicit ProcessHandles(const PROCESS_INFORMATION& info) : info_(info) {}
  ProcessHandles(const ProcessHandles&) = delete;
  ProcessHandles& operator=(const ProcessHandles&) = delete;
  ~ProcessHandles() {
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
  }

  HANDLE Process() const { return info_.hProcess; }
  DWORD Id() const { return info_.dwProcessId; }

 private:
  PROCESS_INFORMATION info_;
};

}  // namespace bench
