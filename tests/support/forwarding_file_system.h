#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace test_support {

// A file system that hands every call to another one. A test derives from it and overrides
// only the calls it changes (to fail, count or throw); the interface growing a method then
// means one more line here, not in every such test.
class ForwardingFileSystem : public platform::FileSystem {
 public:
  explicit ForwardingFileSystem(platform::FileSystem& inner) : inner_(inner) {}

  bool FindFirst(const char* pattern, platform::FindHandle& listing,
                 platform::FindData& data) override {
    return inner_.FindFirst(pattern, listing, data);
  }
  bool FindNext(platform::FindHandle& listing, platform::FindData& data) override {
    return inner_.FindNext(listing, data);
  }
  bool Copy(const char* source, const char* destination, bool failIfExists) override {
    return inner_.Copy(source, destination, failIfExists);
  }
  bool CopyReporting(const char* source, const char* destination, bool failIfExists,
                     platform::CopyProgress& progress) override {
    return inner_.CopyReporting(source, destination, failIfExists, progress);
  }
  bool CreateFolder(const char* path) override { return inner_.CreateFolder(path); }
  int MakeFolder(const char* path) override { return inner_.MakeFolder(path); }
  std::uint32_t GetAttributes(const char* path) override { return inner_.GetAttributes(path); }
  bool SetAttributes(const char* path, std::uint32_t attributes) override {
    return inner_.SetAttributes(path, attributes);
  }
  int Access(const char* path, int mode) override { return inner_.Access(path, mode); }
  std::uint32_t GetModulePath(char* buffer, std::uint32_t size) override {
    return inner_.GetModulePath(buffer, size);
  }
  std::uint32_t GetCurrentFolder(std::uint32_t size, char* buffer) override {
    return inner_.GetCurrentFolder(size, buffer);
  }
  std::uint32_t GetEnvironment(const char* name, char* buffer, std::uint32_t size) override {
    return inner_.GetEnvironment(name, buffer, size);
  }
  bool GetAppDataFolder(char (&path)[platform::kMaxPath]) override {
    return inner_.GetAppDataFolder(path);
  }
  bool RemoveFile(const char* path) override { return inner_.RemoveFile(path); }
  bool RemoveFolder(const char* path) override { return inner_.RemoveFolder(path); }
  std::uint32_t LastError() const override { return inner_.LastError(); }
  std::string ErrorText(std::uint32_t error) override { return inner_.ErrorText(error); }
  bool ReadWholeFile(const char* path, std::size_t limit, std::string& contents) override {
    return inner_.ReadWholeFile(path, limit, contents);
  }
  bool WriteWholeFile(const char* path, std::string_view contents) override {
    return inner_.WriteWholeFile(path, contents);
  }
  bool RemoveStream(const char* path, const char* stream) override {
    return inner_.RemoveStream(path, stream);
  }
  bool ProtectFolder(const char* path, platform::FolderAccess access) override {
    return inner_.ProtectFolder(path, access);
  }
  bool RemoveAtRestart(const char* path) override { return inner_.RemoveAtRestart(path); }

 private:
  // Listings are made by, and go back to, the inner file system.
  void ReleaseHandle(std::uintptr_t) override {}

  platform::FileSystem& inner_;
};

}  // namespace test_support
