#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ansi_text.h"
#include "platform/owned_handle.h"

namespace platform {

// File attribute bits with the numbers Windows uses.
namespace attr {
inline constexpr std::uint32_t kReadOnly = 0x1;
inline constexpr std::uint32_t kHidden = 0x2;
inline constexpr std::uint32_t kSystem = 0x4;
inline constexpr std::uint32_t kDirectory = 0x10;
inline constexpr std::uint32_t kArchive = 0x20;
inline constexpr std::uint32_t kNormal = 0x80;
// A junction, a folder or file symbolic link (and under Wine a Unix symbolic link): listed
// with the directory bit too when it stands for a folder (0x410). Its contents belong to
// wherever it points.
inline constexpr std::uint32_t kReparsePoint = 0x400;
// What GetFileAttributesA answers for a path that names nothing.
inline constexpr std::uint32_t kInvalid = 0xFFFFFFFF;
}  // namespace attr

// The Win32 error codes a failed call leaves behind, as GetLastError would answer them.
namespace fs_error {
inline constexpr std::uint32_t kFileNotFound = 2;
inline constexpr std::uint32_t kPathNotFound = 3;
inline constexpr std::uint32_t kAccessDenied = 5;
inline constexpr std::uint32_t kInvalidHandle = 6;
inline constexpr std::uint32_t kNoMoreFiles = 18;
inline constexpr std::uint32_t kSharingViolation = 32;
inline constexpr std::uint32_t kLockViolation = 33;
inline constexpr std::uint32_t kDirNotEmpty = 145;
inline constexpr std::uint32_t kFileExists = 80;
inline constexpr std::uint32_t kInsufficientBuffer = 122;
inline constexpr std::uint32_t kInvalidName = 123;
inline constexpr std::uint32_t kFileTooLarge = 223;
inline constexpr std::uint32_t kAlreadyExists = 183;
inline constexpr std::uint32_t kEnvVarNotFound = 203;
inline constexpr std::uint32_t kFilenameExcedRange = 206;
inline constexpr std::uint32_t kDirectory = 267;
}  // namespace fs_error

// MAX_PATH: the size of the fixed path buffers, terminator included. The narrow file
// functions of a program without a long-path manifest fail on a path of this many
// characters or more. (Wine 8.0 is laxer: it takes exactly 260, refuses 261 with
// ERROR_FILENAME_EXCED_RANGE, and CopyFileA takes a destination of any length.)
inline constexpr std::uint32_t kMaxPath = 260;

// CreateDirectoryA and _mkdir create no folder whose path has this many characters or more:
// MAX_PATH less room for an 8.3 file name inside it. (Wine 8.0 has no such limit.)
inline constexpr std::uint32_t kMaxFolderPath = 248;

// The characters those limits count: Windows converts a narrow path from the ANSI code page
// to UTF-16 first, and every character of code page 936, one byte or two, is one UTF-16 unit.
// So a Chinese path may be longer in bytes than the limit and still be within it; in UTF-8
// (code page 65001) a Chinese character is three bytes and still one unit.
inline std::size_t PathCharacters(std::string_view path) { return ansi::Utf16Length(path); }

// One entry of a folder listing (what the setup reads of WIN32_FIND_DATAA).
struct FindData {
  std::uint32_t attributes = 0;
  std::string fileName;  // a bare name, at most 259 bytes
  std::uint64_t size = 0;
};

// Who may change a folder and what is put in it later, as the setup leaves its product folder.
// The protected kinds cut inheritance from the folder above (under C:\ that grants
// "Authenticated Users: Modify") and are inherited by every file and folder inside.
enum class FolderAccess {
  Inherited,        // whatever the folder above grants: how a new folder starts
  MachineWide,      // Administrators and SYSTEM full control, Users read and execute
  CurrentUserOnly,  // the current user, Administrators and SYSTEM full control; nobody else
};

// Told while a copy is under way, between the pieces of the file it writes (CopyFileExA's
// progress routine, on the copying thread), so that a window can take its messages while a
// large file is copied. The copy always goes on; OnPartCopied must not throw.
class CopyProgress {
 public:
  virtual ~CopyProgress() = default;
  virtual void OnPartCopied() = 0;
};

class FileSystem;

// An open folder listing; closing it is FindClose.
using FindHandle = OwnedHandle<FileSystem>;

// The file-system side of kernel32, shell32 and the C runtime that the setup calls. Paths are
// narrow strings in the ANSI code page. Each method behaves as the function noted beside it.
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // FindFirstFileA(pattern, &data): on success the listing is open and data holds its first
  // entry. A pattern ending in a backslash finds nothing.
  virtual bool FindFirst(const char* pattern, FindHandle& listing, FindData& data) = 0;

  // FindNextFileA(listing, &data): false when no entry is left.
  virtual bool FindNext(FindHandle& listing, FindData& data) = 0;

  // CopyFileA(source, destination, failIfExists). The copy takes the source's attributes.
  // Fails on a missing source, a missing destination folder, and a destination that exists
  // and is read-only or hidden.
  virtual bool Copy(const char* source, const char* destination, bool failIfExists) = 0;

  // CopyFileExA(source, destination, progress routine, ...): the copy Copy makes, telling
  // `progress` as the copy starts and after every piece written (Windows picks the pieces'
  // size); a copy that fails before it starts tells nothing. Wine 8.0 never calls the routine.
  virtual bool CopyReporting(const char* source, const char* destination, bool failIfExists,
                             CopyProgress& progress) = 0;

  // CreateDirectoryA(path, NULL): one level; fails if the path exists.
  virtual bool CreateFolder(const char* path) = 0;

  // _mkdir(path): 0 on success, -1 on failure (one level; fails if the path exists).
  virtual int MakeFolder(const char* path) = 0;

  // GetFileAttributesA: attr::kInvalid for a path that names nothing.
  virtual std::uint32_t GetAttributes(const char* path) = 0;

  // SetFileAttributesA.
  virtual bool SetAttributes(const char* path, std::uint32_t attributes) = 0;

  // _access(path, mode): 0 when the path exists (mode 0) or allows the access asked for
  // (2 writing, 4 reading, 6 both); -1 otherwise.
  virtual int Access(const char* path, int mode) = 0;

  // GetModuleFileNameA(NULL, buffer, size): the length copied without the NUL. When the path
  // does not fit, the result is `size` and the buffer holds a cut, NUL-terminated path.
  virtual std::uint32_t GetModulePath(char* buffer, std::uint32_t size) = 0;

  // GetCurrentDirectoryA(size, buffer): the length without the NUL; when it does not fit, the
  // size needed with the NUL, and the buffer is left alone.
  virtual std::uint32_t GetCurrentFolder(std::uint32_t size, char* buffer) = 0;

  // GetEnvironmentVariableA(name, buffer, size): the length without the NUL; when it does not
  // fit, the size needed with the NUL; 0 when the variable is not set (or is empty).
  virtual std::uint32_t GetEnvironment(const char* name, char* buffer, std::uint32_t size) = 0;

  // SHGetFolderPathA(NULL, CSIDL_APPDATA, NULL, 0, path): the user's application-data folder.
  virtual bool GetAppDataFolder(char (&path)[kMaxPath]) = 0;

  // DeleteFileA: fails on a folder, on a read-only file, and on a file in use; Windows counts
  // a running program's own .exe as in use, so a program cannot delete itself.
  virtual bool RemoveFile(const char* path) = 0;

  // RemoveDirectoryA: fails on a file and on a folder that still holds anything. On a link to
  // a folder it removes the link itself, never what it points to.
  virtual bool RemoveFolder(const char* path) = 0;

  // GetLastError as the last failed call of this interface left it (sharing violation 32 for
  // a file another program holds open, access denied 5 for no rights or a running program's
  // own file, ...). Asked right after the call: any other call may change it.
  virtual std::uint32_t LastError() const = 0;

  // FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS) of a Win32
  // error code (file and registry functions share them), without the line end; a text naming
  // the number when the system has none.
  virtual std::string ErrorText(std::uint32_t error) = 0;

  // CreateFileA(GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING) and ReadFile to its end: the whole
  // file, which must not be longer than `limit` bytes. False when it cannot be opened, is
  // longer, or cannot be read whole; `contents` is then not meaningful.
  virtual bool ReadWholeFile(const char* path, std::size_t limit, std::string& contents) = 0;

  // Makes `contents` the whole file `path`, all or nothing: written into "<path>.new" (a
  // leftover of that name deleted first, then CreateFileA CREATE_NEW, so no link there is ever
  // written through), flushed, and moved over `path` (MoveFileExA MOVEFILE_REPLACE_EXISTING |
  // MOVEFILE_WRITE_THROUGH), which replaces a link at `path` itself, never what it points to.
  // A failure leaves `path` as it was and removes "<path>.new" again.
  virtual bool WriteWholeFile(const char* path, std::string_view contents) = 0;

  // DeleteFileA("<path>:<stream>"): removes one alternate data stream of a file (the
  // "Zone.Identifier" mark that a download carries) and leaves the file. True also where the
  // file has no such stream or its volume keeps no streams (FAT).
  virtual bool RemoveStream(const char* path, const char* stream) = 0;

  // SetNamedSecurityInfoA(path, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION |
  // PROTECTED_DACL_SECURITY_INFORMATION): gives a folder the DACL of `access`, with every entry
  // inherited by the files and folders inside, which get it too. Needs WRITE_DAC: the folder's
  // owner or an administrator.
  virtual bool ProtectFolder(const char* path, FolderAccess access) = 0;

  // MoveFileExA(path, NULL, MOVEFILE_DELAY_UNTIL_REBOOT): deletes a file (or an empty folder)
  // at the next start of Windows. Needs administrator rights.
  virtual bool RemoveAtRestart(const char* path) = 0;

 protected:
  FindHandle MakeListing(std::uintptr_t handle) { return FindHandle(this, handle); }

 private:
  friend class OwnedHandle<FileSystem>;
  // FindClose.
  virtual void ReleaseHandle(std::uintptr_t handle) = 0;
};

}  // namespace platform
