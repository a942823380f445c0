#include "platform/win32/win32_file_system.h"

#include <windows.h>
#include <direct.h>
#include <io.h>
#include <shlobj.h>
#include <aclapi.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/win32/well_known_sid.h"

namespace platform {
namespace {

static_assert(kMaxPath == MAX_PATH);
static_assert(attr::kInvalid == INVALID_FILE_ATTRIBUTES);

HANDLE AsHandle(std::uintptr_t value) { return reinterpret_cast<HANDLE>(value); }

FindData FromFindData(const WIN32_FIND_DATAA& found) {
  FindData data;
  data.attributes = found.dwFileAttributes;
  // cFileName is NUL-terminated by the system; strnlen keeps a reading inside it regardless.
  data.fileName.assign(found.cFileName, strnlen(found.cFileName, sizeof found.cFileName));
  data.size = (static_cast<std::uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
  return data;
}

// CopyFileExA's progress routine: each call is a part of the file written (or the copy's start).
DWORD CALLBACK ReportPart(LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, LARGE_INTEGER, DWORD,
                          DWORD, HANDLE, HANDLE, LPVOID progress) {
  // Nothing may unwind through kernel32's frames; the copy goes on whatever happens here.
  try {
    static_cast<CopyProgress*>(progress)->OnPartCopied();
  } catch (...) {
  }
  return PROGRESS_CONTINUE;
}

}  // namespace

bool Win32FileSystem::FindFirst(const char* pattern, FindHandle& listing, FindData& data) {
  listing.Close();
  WIN32_FIND_DATAA found{};
  const HANDLE handle = FindFirstFileA(pattern, &found);
  if (handle == INVALID_HANDLE_VALUE) return false;
  listing = MakeListing(reinterpret_cast<std::uintptr_t>(handle));
  data = FromFindData(found);
  return true;
}

bool Win32FileSystem::FindNext(FindHandle& listing, FindData& data) {
  if (listing.OwnerObject() != this) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  WIN32_FIND_DATAA found{};
  if (!FindNextFileA(AsHandle(listing.Value()), &found)) return false;
  data = FromFindData(found);
  return true;
}

void Win32FileSystem::ReleaseHandle(std::uintptr_t handle) { FindClose(AsHandle(handle)); }

bool Win32FileSystem::Copy(const char* source, const char* destination, bool failIfExists) {
  return CopyFileA(source, destination, failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32FileSystem::CopyReporting(const char* source, const char* destination,
                                    bool failIfExists, CopyProgress& progress) {
  return CopyFileExA(source, destination, &ReportPart, &progress, nullptr,
                     failIfExists ? COPY_FILE_FAIL_IF_EXISTS : 0) != FALSE;
}

bool Win32FileSystem::CreateFolder(const char* path) {
  return CreateDirectoryA(path, nullptr) != FALSE;
}

int Win32FileSystem::MakeFolder(const char* path) { return _mkdir(path); }

std::uint32_t Win32FileSystem::GetAttributes(const char* path) {
  return GetFileAttributesA(path);
}

bool Win32FileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  return SetFileAttributesA(path, attributes) != FALSE;
}

int Win32FileSystem::Access(const char* path, int mode) { return _access(path, mode); }

std::uint32_t Win32FileSystem::GetModulePath(char* buffer, std::uint32_t size) {
  return GetModuleFileNameA(nullptr, buffer, size);
}

std::uint32_t Win32FileSystem::GetCurrentFolder(std::uint32_t size, char* buffer) {
  return GetCurrentDirectoryA(size, buffer);
}

std::uint32_t Win32FileSystem::GetEnvironment(const char* name, char* buffer,
                                              std::uint32_t size) {
  return GetEnvironmentVariableA(name, buffer, size);
}

bool Win32FileSystem::GetAppDataFolder(char (&path)[kMaxPath]) {
  return SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK;
}

}  // namespace platform

namespace platform {

bool Win32FileSystem::RemoveFile(const char* path) { return DeleteFileA(path) != FALSE; }

bool Win32FileSystem::RemoveFolder(const char* path) { return RemoveDirectoryA(path) != FALSE; }

}  // namespace platform

namespace platform {
namespace {

struct KernelHandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
// A file or token handle; null stands for none.
using KernelHandle = std::unique_ptr<void, KernelHandleCloser>;

KernelHandle FromCreateFile(HANDLE handle) {
  return KernelHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

struct LocalFreer {
  void operator()(void* memory) const { LocalFree(memory); }
};

bool FailWith(DWORD error) {
  SetLastError(error);
  return false;
}

// Storage for the variable-length records of the security API (TOKEN_USER, ACL), aligned for
// the pointers and DWORDs inside them.
using RecordBuffer = std::vector<std::uint64_t>;

void* SizedRecord(RecordBuffer& buffer, std::size_t bytes) {
  buffer.assign((bytes + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t), 0);
  return buffer.data();
}

// The SID of the user this process runs as, inside `buffer`; null when the token cannot say.
PSID CurrentUserSid(RecordBuffer& buffer) {
  HANDLE raw = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw)) return nullptr;
  const KernelHandle token(raw);
  DWORD size = 0;
  GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return nullptr;
  void* record = SizedRecord(buffer, size);
  if (!GetTokenInformation(token.get(), TokenUser, record, size, &size)) return nullptr;
  return static_cast<TOKEN_USER*>(record)->User.Sid;
}

// The DACL of `access` in `buffer`: allow entries only, each inherited by the files (OI) and
// folders (CI) inside. Inherited has none of its own: the folder above hands down the rest.
// The entries hold copies of the SIDs, so the ACL outlives them.
PACL MakeAcl(FolderAccess access, RecordBuffer& buffer) {
  constexpr DWORD kFullControl = FILE_ALL_ACCESS;
  constexpr DWORD kReadAndExecute = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
  WellKnownSid administrators(WinBuiltinAdministratorsSid);
  WellKnownSid system(WinLocalSystemSid);
  WellKnownSid users(WinBuiltinUsersSid);
  RecordBuffer userBuffer;
  std::vector<std::pair<PSID, DWORD>> grants;
  if (access != FolderAccess::Inherited) {
    if (!administrators.Valid() || !system.Valid()) return nullptr;
    grants = {{administrators.Get(), kFullControl}, {system.Get(), kFullControl}};
  }
  if (access == FolderAccess::MachineWide) {
    if (!users.Valid()) return nullptr;
    grants.emplace_back(users.Get(), kReadAndExecute);
  }
  if (access == FolderAccess::CurrentUserOnly) {
    const PSID user = CurrentUserSid(userBuffer);
    if (user == nullptr) return nullptr;
    grants.emplace_back(user, kFullControl);
  }
  DWORD size = sizeof(ACL);
  for (const auto& [sid, mask] : grants) {
    size += sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD) + GetLengthSid(sid);
  }
  size = (size + sizeof(DWORD) - 1) & ~DWORD{sizeof(DWORD) - 1};
  const PACL acl = static_cast<PACL>(SizedRecord(buffer, size));
  if (!InitializeAcl(acl, size, ACL_REVISION)) return nullptr;
  for (const auto& [sid, mask] : grants) {
    if (!AddAccessAllowedAceEx(acl, ACL_REVISION, OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE,
                               mask, sid)) {
      return nullptr;
    }
  }
  return acl;
}

bool WriteAll(HANDLE file, std::string_view contents) {
  constexpr std::size_t kMostPerCall = 1u << 30;
  while (!contents.empty()) {
    const DWORD part = static_cast<DWORD>(std::min(contents.size(), kMostPerCall));
    DWORD written = 0;
    if (!WriteFile(file, contents.data(), part, &written, nullptr)) return false;
    if (written == 0) return FailWith(ERROR_WRITE_FAULT);
    contents.remove_prefix(written);
  }
  return true;
}

// Deletes the file it names when it goes away, once armed and unless kept: the half-made "<path>.new" of
// a write that failed. The failure's own error is what the caller reads afterwards.
class RemovedUnlessKept {
 public:
  explicit RemovedUnlessKept(const std::string& path) : path_(path) {}
  RemovedUnlessKept(const RemovedUnlessKept&) = delete;
  RemovedUnlessKept& operator=(const RemovedUnlessKept&) = delete;
  ~RemovedUnlessKept() {
    if (!armed_) return;
    const DWORD error = GetLastError();
    DeleteFileA(path_.c_str());
    SetLastError(error);
  }
  void Arm() { armed_ = true; }
  void Keep() { armed_ = false; }

 private:
  const std::string& path_;
  bool armed_ = false;
};

}  // namespace

std::uint32_t Win32FileSystem::LastError() const { return GetLastError(); }

std::string Win32FileSystem::ErrorText(std::uint32_t error) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  const std::unique_ptr<char, LocalFreer> owned(text);
  std::string_view message(text != nullptr ? text : "", text != nullptr ? length : 0);
  // CR, LF and space are whole characters in every code page the setup meets: no trail byte
  // of a double-byte character lies below 0x40.
  while (!message.empty() &&
         (message.back() == '\r' || message.back() == '\n' || message.back() == ' ')) {
    message.remove_suffix(1);
  }
  if (message.empty()) return "Windows error " + std::to_string(error);
  return std::string(message);
}

bool Win32FileSystem::ReadWholeFile(const char* path, std::size_t limit, std::string& contents) {
  contents.clear();
  const KernelHandle file = FromCreateFile(CreateFileA(
      path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return false;
  if (static_cast<std::uint64_t>(size.QuadPart) > limit) return FailWith(ERROR_FILE_TOO_LARGE);
  contents.reserve(static_cast<std::size_t>(size.QuadPart));
  char chunk[16 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr)) return false;
    if (got == 0) return true;
    // The file may have grown since its size was asked.
    if (got > limit - contents.size()) return FailWith(ERROR_FILE_TOO_LARGE);
    contents.append(chunk, got);
  }
}

bool Win32FileSystem::WriteWholeFile(const char* path, std::string_view contents) {
  const std::string beside = std::string(path) + ".new";
  if (!DeleteFileA(beside.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  RemovedUnlessKept halfMade(beside);
  {
    const KernelHandle file = FromCreateFile(CreateFileA(
        beside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    halfMade.Arm();
    if (!WriteAll(file.get(), contents) || !FlushFileBuffers(file.get())) return false;
  }  // closed first: an open file cannot be moved
  if (!MoveFileExA(beside.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return false;
  }
  halfMade.Keep();
  return true;
}

bool Win32FileSystem::RemoveStream(const char* path, const char* stream) {
  const std::string named = std::string(path) + ":" + stream;
  if (DeleteFileA(named.c_str())) return true;
  // No such stream (2), or a volume whose names have no stream part (FAT answers 123): the
  // file carries no mark, as long as the file itself is there.
  const DWORD error = GetLastError();
  if (error != ERROR_FILE_NOT_FOUND && error != ERROR_INVALID_NAME) return false;
  return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::ProtectFolder(const char* path, FolderAccess access) {
  RecordBuffer aclBuffer;
  const PACL acl = MakeAcl(access, aclBuffer);
  if (acl == nullptr) return false;
  const SECURITY_INFORMATION what =
      DACL_SECURITY_INFORMATION | (access == FolderAccess::Inherited
                                       ? UNPROTECTED_DACL_SECURITY_INFORMATION
                                       : PROTECTED_DACL_SECURITY_INFORMATION);
  std::string name(path);  // the API takes a writable string
  const DWORD result = SetNamedSecurityInfoA(name.data(), SE_FILE_OBJECT, what, nullptr, nullptr,
                                             acl, nullptr);
  return result == ERROR_SUCCESS || FailWith(result);
}

bool Win32FileSystem::RemoveAtRestart(const char* path) {
  return MoveFileExA(path, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

}  // namespace platform
