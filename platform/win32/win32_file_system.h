#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace platform {

// The file-system calls of kernel32, shell32 and the C runtime, one each. A listing handle
// is the FindFirstFileA HANDLE itself; FindClose runs when its FindHandle goes away.
class Win32FileSystem final : public FileSystem {
 public:
  Win32FileSystem() = default;
  Win32FileSystem(const Win32FileSystem&) = delete;
  Win32FileSystem& operator=(const Win32FileSystem&) = delete;

  bool FindFirst(const char* pattern, FindHandle& listing, FindData& data) override;
  bool FindNext(FindHandle& listing, FindData& data) override;
  bool Copy(const char* source, const char* destination, bool failIfExists) override;
  bool CopyReporting(const char* source, const char* destination, bool failIfExists,
                     CopyProgress& progress) override;
  bool CreateFolder(const char* path) override;
  int MakeFolder(const char* path) override;
  std::uint32_t GetAttributes(const char* path) override;
  bool SetAttributes(const char* path, std::uint32_t attributes) override;
  int Access(const char* path, int mode) override;
  std::uint32_t GetModulePath(char* buffer, std::uint32_t size) override;
  std::uint32_t GetCurrentFolder(std::uint32_t size, char* buffer) override;
  std::uint32_t GetEnvironment(const char* name, char* buffer, std::uint32_t size) override;
  bool GetAppDataFolder(char (&path)[kMaxPath]) override;
  bool RemoveFile(const char* path) override;
  bool RemoveFolder(const char* path) override;
  std::uint32_t LastError() const override;
  std::string ErrorText(std::uint32_t error) override;
  bool ReadWholeFile(const char* path, std::size_t limit, std::string& contents) override;
  bool WriteWholeFile(const char* path, std::string_view contents) override;
  bool RemoveStream(const char* path, const char* stream) override;
  // FolderAccess::Inherited drops the folder's own entries and lifts the protection, so that
  // it holds what the folder above hands down again, as a new folder does.
  bool ProtectFolder(const char* path, FolderAccess access) override;
  bool RemoveAtRestart(const char* path) override;

 private:
  void ReleaseHandle(std::uintptr_t handle) override;
};

}  // namespace platform
