#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

// A process handle or thread handle, closed when it goes away.
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& other) noexcept;
  UniqueHandle& operator=(UniqueHandle&& other) noexcept;
  ~UniqueHandle();

  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_ = nullptr;
};

// The setup program under test, started from its distribution folder as a user starts it:
// the folder is also its working directory. A program still running when this object goes
// away is terminated, so no run of the driver leaves one behind.
class SetupProcess {
 public:
  // Starts `folder\program`; nothing (and `error` set) if the program could not be started.
  static std::optional<SetupProcess> Start(const std::string& folder, const std::string& program,
                                           std::string& error);

  SetupProcess(SetupProcess&&) noexcept = default;
  SetupProcess& operator=(SetupProcess&&) noexcept = default;
  ~SetupProcess();

  DWORD Id() const { return id_; }
  bool IsRunning() const;
  // True once the process has ended, waiting at most `timeoutMs`.
  bool WaitForEnd(DWORD timeoutMs) const;
  // Polls for a visible top-level window of this process with the window class and caption
  // given (an empty caption: any); null when none appeared within `timeoutMs` or the process ended first.
  HWND WaitForWindow(const std::string& className, const std::string& caption,
                     DWORD timeoutMs) const;
  void Terminate() const;

 private:
  SetupProcess(UniqueHandle process, DWORD id) : process_(std::move(process)), id_(id) {}

  UniqueHandle process_;
  DWORD id_ = 0;
};

}  // namespace e2e
