#include "app/uninstall_handoff.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace app {
namespace {

constexpr DWORD kAwaitMilliseconds = 60000;
constexpr const char* kCopyName = "\\UnInstall.exe";

struct HandleCloser {
  HANDLE handle;
  ~HandleCloser() {
    if (handle != nullptr) CloseHandle(handle);
  }
};

std::string FolderOf(const std::string& file) { return file.substr(0, file.rfind('\\')); }

void AwaitProcess(HANDLE process) {
  if (process == nullptr) return;
  WaitForSingleObject(process, kAwaitMilliseconds);
  CloseHandle(process);
}

bool ParseNumber(const char* text, unsigned long long& value) {
  char* end = nullptr;
  value = std::strtoull(text, &end, 10);
  return end != text && *end == '\0' && value != 0;
}

}  // namespace

std::string MakeHandoffCopy(const std::string& ownFile) {
  char temp[MAX_PATH + 1] = {};
  const DWORD tempLength = GetTempPathA(sizeof temp, temp);
  if (tempLength == 0 || tempLength >= sizeof temp) {
    return {};
  }
  // A folder of its own, so that no other program's file of the same name is touched.
  std::string folder;
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    char name[64];
    std::snprintf(name, sizeof name, "ZelvarUninstall-%lu-%u",
                  static_cast<unsigned long>(GetCurrentProcessId()), attempt);
    folder = std::string(temp) + name;
    if (folder.size() + 16 >= MAX_PATH) return {};
    if (CreateDirectoryA(folder.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return {};
    folder.clear();
  }
  if (folder.empty()) return {};
  const std::string copy = folder + kCopyName;
  if (!CopyFileA(ownFile.c_str(), copy.c_str(), TRUE)) {
    RemoveDirectoryA(folder.c_str());
    return {};
  }
  return copy;
}

void DiscardHandoffCopy(const std::string& copy) {
  DeleteFileA(copy.c_str());
  RemoveDirectoryA(FolderOf(copy).c_str());
}

bool StartHandoff(const std::string& copy, const std::string& productFolder) {
  HANDLE self = nullptr;
  if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self,
                       SYNCHRONIZE, TRUE, 0)) {
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
                      FolderOf(copy).c_str(), &startup, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

std::string ElevatedHandoffParameters(const std::string& productFolder) {
  char idText[32];
  std::snprintf(idText, sizeof idText, "%lu", static_cast<unsigned long>(GetCurrentProcessId()));
  return std::string(kElevatedSwitch) + " " + idText + " \"" + productFolder + "\"";
}

namespace {

// A "runas" start of `program` from its own folder; the texts must outlive the start.
SHELLEXECUTEINFOA RunAs(const std::string& program, const std::string& parameters,
                        const std::string& folder, ULONG mask, int show) {
  SHELLEXECUTEINFOA execute = {};
  execute.cbSize = sizeof execute;
  execute.fMask = mask;
  execute.lpVerb = "runas";
  execute.lpFile = program.c_str();
  execute.lpParameters = parameters.c_str();
  execute.lpDirectory = folder.c_str();
  execute.nShow = show;
  return execute;
}

}  // namespace

Elevation StartElevated(const std::string& program, const std::string& parameters) {
  const std::string folder = FolderOf(program);
  SHELLEXECUTEINFOA execute =
      RunAs(program, parameters, folder, SEE_MASK_NOASYNC, SW_SHOWNORMAL);
  if (ShellExecuteExA(&execute)) {
    return Elevation::Started;
  }
  return GetLastError() == ERROR_CANCELLED ? Elevation::Declined : Elevation::Failed;
}

int RunElevated(const std::string& program, const std::string& parameters, int failed) {
  const std::string folder = FolderOf(program);
  SHELLEXECUTEINFOA execute =
      RunAs(program, parameters, folder, SEE_MASK_NOASYNC | SEE_MASK_NOCLOSEPROCESS, SW_HIDE);
  if (!ShellExecuteExA(&execute) || execute.hProcess == nullptr) return failed;
  const HandleCloser closer{execute.hProcess};
  DWORD code = 0;
  if (WaitForSingleObject(execute.hProcess, INFINITE) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(execute.hProcess, &code)) {
    return failed;
  }
  return static_cast<int>(code);
}

void AwaitOriginal(const char* handleText) {
  unsigned long long value = 0;
  if (!ParseNumber(handleText, value)) return;
  AwaitProcess(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(value)));
}

void AwaitOriginalById(const char* processIdText) {
  unsigned long long value = 0;
  if (!ParseNumber(processIdText, value) || value > 0xFFFFFFFFull) return;
  AwaitProcess(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(value)));
}

}  // namespace app
