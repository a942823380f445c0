#include "app/uninstall_handoff.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace app {
namespace {

constexpr DWORD kAwaitMilliseconds = 60000;

struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != nullptr) CloseHandle(handle);
  }
};

}  // namespace

bool StartHandoff(const std::string& ownFile, const std::string& productFolder) {
  char temp[MAX_PATH + 1] = {};
  const DWORD tempLength = GetTempPathA(sizeof temp, temp);
  if (tempLength == 0 || tempLength >= sizeof temp) {
    return false;
  }
  // A folder of its own, so that no other program's file of the same name is touched.
  std::string folder;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "ZelvarUninstall-%lu-%u",
                  static_cast<unsigned long>(GetCurrentProcessId()), attempt);
    folder = std::string(temp) + name;
    if (folder.size() + 16 >= MAX_PATH) return false;
    if (CreateDirectoryA(folder.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    folder.clear();
  }
  if (folder.empty()) return false;
  const std::string copy = folder + "\\UnInstall.exe";
  if (!CopyFileA(ownFile.c_str(), copy.c_str(), TRUE)) {
    RemoveDirectoryA(folder.c_str());
    return false;
  }

  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                       SYNCHRONIZE, TRUE, 0)) {
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
    return false;
  }
  const HandleCloser selfCloser{self};
  char handleText[32];
  std::snprintf(handleText, sizeof handleText, "%llu",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(self)));
  std::string commandLine = "\"" + copy + "\" " + kHandoffSwitch + " " + handleText + " \"" +
                            productFolder + "\"";
  std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
  mutableLine.push_back('\0');

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(copy.c_str(), mutableLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      folder.c_str(), &startup, &started)) {
    DeleteFileA(copy.c_str());
    RemoveDirectoryA(folder.c_str());
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

void AwaitOriginal(const char* handleText) {
  char* end = nullptr;
  const unsigned long long value = std::strtoull(handleText, &end, 10);
  if (end == handleText || *end != '\0' || value == 0) {
    return;
  }
  const HANDLE original = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value));
  WaitForSingleObject(original, kAwaitMilliseconds);
  CloseHandle(original);
}

}  // namespace app
