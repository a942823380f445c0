// The contract cases held against the real Win32 platform, in a scratch folder under %TEMP%
// that each case makes for itself and removes again.

#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_process_list.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

struct FileCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedFile = std::unique_ptr<void, FileCloser>;

OwnedFile OpenFile(const std::string& path, DWORD access, DWORD disposition) {
  const HANDLE handle = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  return OwnedFile(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

bool RunsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// Wine names the Windows user after the Unix user that runs it.
bool RunsAsUnixRoot() {
  char name[64] = {};
  const DWORD length = GetEnvironmentVariableA("WINEUSERNAME", name, sizeof name);
  return length > 0 && length < sizeof name && std::string(name) == "root";
}

// Removes a folder and everything in it, read-only files included, through the wide functions
// and the "\\?\" prefix: a case may leave a path too long for the narrow functions behind.
void RemoveTreeW(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTreeW(path);
      } else {
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(listing, &entry));
    FindClose(listing);
  }
  SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
  RemoveDirectoryW(folder.c_str());
}

void RemoveTree(const std::string& folder) {
  const int length = MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, nullptr, 0);
  if (length <= 1) return;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  RemoveTreeW(L"\\\\?\\" + wide);
}

class Win32Subject final : public Subject {
 public:
  Win32Subject() {
    char temp[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    static unsigned serial = 0;
    if (length == 0 || length >= MAX_PATH) return;
    scratch_ = std::string(temp, length) + "fs-contract-" + std::to_string(GetCurrentProcessId()) +
               "-" + std::to_string(++serial);
    char current[MAX_PATH] = {};
    const DWORD currentLength = GetCurrentDirectoryA(MAX_PATH, current);
    if (currentLength > 0 && currentLength < MAX_PATH) savedCurrent_ = current;
    RemoveTree(scratch_);
    if (!CreateDirectoryA(scratch_.c_str(), nullptr)) scratch_.clear();
  }

  ~Win32Subject() override {
    // Windows cannot remove the current folder: step out of the scratch folder first.
    if (!savedCurrent_.empty()) SetCurrentDirectoryA(savedCurrent_.c_str());
    if (!scratch_.empty()) RemoveTree(scratch_);
  }

  Win32Subject(const Win32Subject&) = delete;
  Win32Subject& operator=(const Win32Subject&) = delete;

  bool Ready() const { return !scratch_.empty(); }

  platform::FileSystem& Files() override { return files_; }
  platform::ProcessList& Processes() override { return processes_; }
  const std::string& Scratch() const override { return scratch_; }
  std::uint32_t LastError() override { return GetLastError(); }

  bool PutFile(const std::string& path, std::string_view contents,
               std::uint32_t attributes) override {
    {
      const OwnedFile file = OpenFile(path, GENERIC_WRITE, CREATE_ALWAYS);
      if (!file) return false;
      DWORD written = 0;
      if (!WriteFile(file.get(), contents.data(), static_cast<DWORD>(contents.size()), &written,
                     nullptr) ||
          written != contents.size()) {
        return false;
      }
    }
    return SetFileAttributesA(path.c_str(), attributes) != FALSE;
  }

  std::optional<std::string> ReadFile(const std::string& path) override {
    const OwnedFile file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file) return std::nullopt;
    std::string contents;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
      contents.append(chunk, got);
    }
    return contents;
  }

  bool SetEnvironment(const char* name, const char* value) override {
    return SetEnvironmentVariableA(name, value) != FALSE;
  }

  bool SetCurrentFolder(const std::string& path) override {
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
  }

  KnownDifferences Differences() const override {
    KnownDifferences differences;
    if (RunsUnderWine()) {
      differences.archiveAlwaysReported = true;
      differences.folderReadOnlyDropped = true;
      differences.hiddenDestinationReplaced = true;
      differences.readOnlyDestinationReplaced = RunsAsUnixRoot();
      differences.environmentCountsUtf16Units = true;
      differences.pathOf260Taken = true;
      differences.longFoldersCreated = true;
      differences.copyDestinationUnlimited = true;
    }
    return differences;
  }

 private:
  platform::Win32FileSystem files_;
  platform::Win32ProcessList processes_;
  std::string scratch_;
  std::string savedCurrent_;
};

std::unique_ptr<Subject> MakeWin32Subject() {
  auto subject = std::make_unique<Win32Subject>();
  if (!subject->Ready()) return nullptr;
  return subject;
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(, FileSystemContract,
                         ::testing::Values(SubjectMaker{"Win32", &MakeWin32Subject}), SubjectName);
INSTANTIATE_TEST_SUITE_P(, ProcessListContract,
                         ::testing::Values(SubjectMaker{"Win32", &MakeWin32Subject}), SubjectName);

}  // namespace contract
