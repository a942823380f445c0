#pragma once

// What the registration's Wine tests share: the folder of the test program, and scratch
// registry keys and folders that remove themselves.

#include <windows.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace registration::win32_testing {

inline std::string Pid() { return std::to_string(GetCurrentProcessId()); }

// The folder that holds the running test program.
inline std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

inline std::string TempFolder() {
  char temp[MAX_PATH] = {};
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::string(temp, length - 1);  // without its trailing backslash
}

// Removes a folder and everything in it, read-only files included.
inline void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found{};
  const HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = folder;
      path += '\\';
      path += name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        RemoveTree(path);
      } else {
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
  }
  RemoveDirectoryA(folder.c_str());
}

// A registry tree that is deleted when the test ends, whichever way it ends.
class ScratchKey {
 public:
  ScratchKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    RegDeleteTreeA(root_, path_.c_str());
  }
  ~ScratchKey() { RegDeleteTreeA(root_, path_.c_str()); }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;
  const std::string& Path() const { return path_; }

 private:
  HKEY root_;
  std::string path_;
};

inline bool PutKey(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

inline bool PutValue(HKEY root, const std::string& path, const char* name, DWORD type,
                     const std::string& data) {
  HKEY key = nullptr;
  if (RegCreateKeyA(root, path.c_str(), &key) != ERROR_SUCCESS) return false;
  const LONG result = RegSetValueExA(key, name, 0, type,
                                     reinterpret_cast<const BYTE*>(data.data()),
                                     static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

// A value as RegQueryValueExA gives it, read whole; `found` false when it is missing.
struct ValueRead {
  bool found = false;
  DWORD type = REG_NONE;
  std::string data;
};

inline ValueRead GetValue(HKEY root, const std::string& path, const char* name) {
  ValueRead read;
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return read;
  DWORD size = 0;
  if (RegQueryValueExA(key, name, nullptr, &read.type, nullptr, &size) == ERROR_SUCCESS) {
    read.data.resize(size);
    read.found = RegQueryValueExA(key, name, nullptr, &read.type,
                                  reinterpret_cast<BYTE*>(read.data.data()), &size) ==
                 ERROR_SUCCESS;
    read.data.resize(size);
  }
  RegCloseKey(key);
  return read;
}

// A REG_SZ value's text without its NUL.
inline std::string Text(const ValueRead& read) {
  return read.data.substr(0, read.data.find('\0'));
}

// The whole content of a file, or nothing when it cannot be read.
inline std::optional<std::string> ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream contents;
  contents << file.rdbuf();
  return contents.str();
}

}  // namespace registration::win32_testing
