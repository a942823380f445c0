#include "tests/e2e/driver/setup_process.h"

#include <utility>
#include <vector>

#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/window_queries.h"

namespace e2e {

UniqueHandle::UniqueHandle(UniqueHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)) {}

UniqueHandle& UniqueHandle::operator=(UniqueHandle&& other) noexcept {
  if (this != &other) {
    if (handle_ != nullptr) {
      ::CloseHandle(handle_);
    }
    handle_ = std::exchange(other.handle_, nullptr);
  }
  return *this;
}

UniqueHandle::~UniqueHandle() {
  if (handle_ != nullptr) {
    ::CloseHandle(handle_);
  }
}

std::optional<SetupProcess> SetupProcess::Start(const std::string& folder,
                                                const std::string& program, std::string& error) {
  const std::string path = Cat({folder, "\\", program});
  // CreateProcessA may write into the command line; it gets a copy of its own.
  std::vector<char> commandLine(path.size() + 3, '\0');
  commandLine[0] = '"';
  path.copy(commandLine.data() + 1, path.size());
  commandLine[path.size() + 1] = '"';

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (::CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.c_str(), &startup, &info) == 0) {
    error = Cat({"CreateProcess(", path, ") failed, error ", Number(::GetLastError())});
    return std::nullopt;
  }
  ::CloseHandle(info.hThread);
  // The program must be ready for window messages before it is looked at.
  ::WaitForInputIdle(info.hProcess, 10000);
  return SetupProcess(UniqueHandle(info.hProcess), info.dwProcessId);
}

SetupProcess::~SetupProcess() {
  if (process_.Get() != nullptr && IsRunning()) {
    Terminate();
  }
}

bool SetupProcess::IsRunning() const { return !WaitForEnd(0); }

bool SetupProcess::WaitForEnd(DWORD timeoutMs) const {
  return ::WaitForSingleObject(process_.Get(), timeoutMs) == WAIT_OBJECT_0;
}

HWND SetupProcess::WaitForWindow(const std::string& className, const std::string& caption,
                                 DWORD timeoutMs) const {
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  do {
    for (HWND window : TopLevelWindowsOf(id_)) {
      if (::IsWindowVisible(window) && ClassNameOf(window) == className &&
          (caption.empty() || ReadCaption(window) == caption)) {
        return window;
      }
    }
    if (WaitForEnd(100)) {
      return nullptr;
    }
  } while (::GetTickCount64() < deadline);
  return nullptr;
}

void SetupProcess::Terminate() const {
  ::TerminateProcess(process_.Get(), 1);
  WaitForEnd(5000);
}

}  // namespace e2e
