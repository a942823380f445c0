#include "platform/win32/win32_file_system.h"

#include <windows.h>
#include <direct.h>
#include <io.h>
#include <shlobj.h>

#include <cstring>

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
