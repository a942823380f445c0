// The contract cases held against the real Win32 platform, in a scratch folder under %TEMP%
// that each case makes for itself and removes again.

#include <windows.h>
#include <aclapi.h>

#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "platform/win32/well_known_sid.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_process_list.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

struct FileCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedFile = std::unique_ptr<void, FileCloser>;

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};

OwnedFile OpenFile(const std::string& path, DWORD access, DWORD disposition) {
  const HANDLE handle = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  return OwnedFile(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::optional<std::string> ReadAll(const std::string& path) {
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

std::wstring Widened(const std::string& text, UINT codePage) {
  const int length = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), length);
  wide.resize(static_cast<std::size_t>(length - 1));
  return wide;
}

// The Unix path (UTF-8) of a Windows path under Wine; empty elsewhere.
std::string UnixPath(const std::string& path) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix == nullptr) return {};
  char* unix = toUnix(Widened(path, CP_ACP).c_str());
  if (unix == nullptr) return {};
  std::string result = unix;
  HeapFree(GetProcessHeap(), 0, unix);
  return result;
}

// Runs a Unix program under Wine and waits for it to end. CreateProcess starts a Unix program
// there without a handle to wait on, so a shell writes the exit status into `marker`.
bool RunUnix(const std::vector<std::string>& command, const std::string& marker) {
  const std::string unixMarker = UnixPath(marker);
  if (unixMarker.empty()) return false;
  DeleteFileA(marker.c_str());
  std::string line = R"(/bin/sh -c "m=$1; shift; \"$@\"; echo $? >\"$m\"" sh ")" + unixMarker + '"';
  for (const std::string& word : command) line += " \"" + word + '"';
  std::wstring wide = Widened(line, CP_UTF8);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return false;
  }
  if (started.hThread != nullptr) CloseHandle(started.hThread);
  if (started.hProcess != nullptr) CloseHandle(started.hProcess);
  std::optional<std::string> status;
  for (int waited = 0; waited < 1000; ++waited, Sleep(10)) {
    status = ReadAll(marker);
    if (status && !status->empty() && status->back() == '\n') break;
  }
  DeleteFileA(marker.c_str());
  return status == "0\n";
}

// Removes a folder and everything in it, read-only files included, through the wide functions
// and the "\\?\" prefix: a case may leave a path too long for the narrow functions behind.
// A link is removed, never entered: what it leads to is no business of the link's folder.
void RemoveTreeW(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        RemoveDirectoryW(path.c_str());
      } else if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
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
  const std::wstring wide = Widened(folder, CP_ACP);
  if (!wide.empty()) RemoveTreeW(L"\\\\?\\" + wide);
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
    held_.clear();
    // Wine's RemoveDirectoryA would act on what a Unix link leads to: unlink the links first.
    for (const std::string& link : unixLinks_) RunUnix({"rm", "-f", UnixPath(link)}, Marker());
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

  std::optional<std::string> ReadFile(const std::string& path) override { return ReadAll(path); }

  bool SetEnvironment(const char* name, const char* value) override {
    return SetEnvironmentVariableA(name, value) != FALSE;
  }

  bool SetCurrentFolder(const std::string& path) override {
    return SetCurrentDirectoryA(path.c_str()) != FALSE;
  }

  // Wine 8.0's CreateSymbolicLinkA answers TRUE and makes nothing, and FSCTL_SET_REPARSE_POINT
  // fails with 50 (not supported), but a Unix symbolic link serves as a folder link there.
  bool MakeFolderLink(const std::string& link, const std::string& target) override {
    constexpr DWORD kUnprivileged = 0x2;  // SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(),
                            SYMBOLIC_LINK_FLAG_DIRECTORY | kUnprivileged) &&
        GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES) {
      return true;
    }
    if (!RunsUnderWine() ||
        !RunUnix({"ln", "-s", "--", UnixPath(target), UnixPath(link)}, Marker())) {
      return false;
    }
    unixLinks_.push_back(link);
    return true;
  }

  bool HoldOpen(const std::string& path) override {
    OwnedFile file = OpenFile(path, GENERIC_READ, OPEN_EXISTING);
    if (!file) return false;
    held_.push_back(std::move(file));
    return true;
  }

  bool PutStream(const std::string& path, const std::string& stream,
                 std::string_view contents) override {
    return PutFile(path + ":" + stream, contents, FILE_ATTRIBUTE_ARCHIVE);
  }

  std::optional<std::string> ReadStream(const std::string& path,
                                        const std::string& stream) override {
    return ReadAll(path + ":" + stream);
  }

  // Told apart by what the setup's kinds differ in: protection, and Users allowed.
  std::optional<platform::FolderAccess> AccessOf(const std::string& path) override {
    std::string name = path;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (GetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &raw) != ERROR_SUCCESS) {
      return std::nullopt;
    }
    const std::unique_ptr<void, LocalFreer> descriptor(raw);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    if (!GetSecurityDescriptorControl(raw, &control, &revision)) return std::nullopt;
    if ((control & SE_DACL_PROTECTED) == 0) return platform::FolderAccess::Inherited;
    platform::WellKnownSid users(WinBuiltinUsersSid);
    void* ace = nullptr;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount && GetAce(dacl, i, &ace); ++i) {
      if (EqualSid(&static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart, users.Get())) {
        return platform::FolderAccess::MachineWide;
      }
    }
    return platform::FolderAccess::CurrentUserOnly;
  }

  // MoveFileExA records them as pairs of "\??\<path>" and the new name, empty for a deletion.
  // Wine's next start is the prefix's next wineserver session, whose wineboot carries them
  // out: a scratch file left named there is long gone by then.
  std::vector<std::string> PendingRestartRemovals() override {
    std::string pairs(64 * 1024, '\0');
    DWORD size = static_cast<DWORD>(pairs.size());
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                     "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pairs.data(),
                     &size) != ERROR_SUCCESS) {
      return {};
    }
    std::vector<std::string> removals;
    for (const char* at = pairs.c_str(); at < pairs.c_str() + size && *at != '\0';) {
      const std::string from = at;
      const char* to = at + from.size() + 1;
      if (*to == '\0') removals.push_back(from.rfind("\\??\\", 0) == 0 ? from.substr(4) : from);
      at = to + std::strlen(to) + 1;
    }
    return removals;
  }

  // Wine gives every process, run by root or by an ordinary Unix user, an elevated token
  // holding BUILTIN\Administrators; on Windows it depends on how the tests were started.
  std::optional<bool> StartedAsAdministrator() override {
    return RunsUnderWine() ? std::optional<bool>(true) : std::nullopt;
  }

  // The C runtime's clock and time zone.
  platform::CalendarDate Today() override {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) return {};
    return {static_cast<std::uint16_t>(local.tm_year + 1900),
            static_cast<std::uint8_t>(local.tm_mon + 1), static_cast<std::uint8_t>(local.tm_mday)};
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
      differences.readOnlyReplacedByMove = true;
      differences.folderLinkRemovalFollowed = true;
      differences.streamsAreFilesBeside = true;
      differences.folderDaclNotStored = true;
      differences.copyProgressNeverReported = true;
    }
    return differences;
  }

 private:
  // Where a Unix program started by RunUnix leaves its exit status: beside the scratch folder,
  // so that no listing of a case sees it.
  std::string Marker() const { return scratch_ + ".status"; }

  platform::Win32FileSystem files_;
  platform::Win32ProcessList processes_;
  std::string scratch_;
  std::string savedCurrent_;
  std::vector<OwnedFile> held_;
  std::vector<std::string> unixLinks_;
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
