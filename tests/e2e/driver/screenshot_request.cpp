#include "tests/e2e/driver/screenshot_request.h"

#include "tests/e2e/driver/text.h"

namespace e2e {

bool RequestScreenshot(const std::string& folder, const std::string& name, DWORD timeoutMs) {
  const std::string done = Cat({folder, "\\", name, ".done"});
  ::DeleteFileA(done.c_str());
  const std::string request = Cat({folder, "\\", name, ".request"});
  HANDLE file = ::CreateFileA(request.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  ::CloseHandle(file);
  const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
  while (::GetFileAttributesA(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (::GetTickCount64() >= deadline) {
      ::DeleteFileA(request.c_str());
      return false;
    }
    ::Sleep(100);
  }
  return true;
}

}  // namespace e2e
