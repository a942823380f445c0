#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// How the in-memory registry reads a sub-key path, the way the registry of Windows (and
// Wine) reads the paths given to the narrow registry functions.
namespace platform::registry_path {

// The longest key name, in characters, that can be created. Windows documents 255, yet it
// creates a key of 256 characters and refuses 257 with ERROR_INVALID_PARAMETER; Wine 8.0
// does the same.
inline constexpr std::size_t kLongestKeyNameChars = 256;

// The key names of a path, in order. Names are split at backslashes that are characters of
// their own: in a double-byte code page (932, 936, 949, 950) a trail byte 0x5C belongs to its
// character. Empty names, from
// doubled or trailing backslashes, are passed over, so "A\\B\" names the key "A\B".
// A path that starts with a backslash is refused by the registry (ERROR_BAD_PATHNAME); test
// that with StartsWithBackslash before reading the names.
class KeyNames {
 public:
  explicit KeyNames(std::string_view path) : path_(path) {}

  // The next name; false after the last.
  bool Next(std::string_view& name);

 private:
  std::string_view path_;
  std::size_t pos_ = 0;
};

bool StartsWithBackslash(std::string_view path);

// Characters in a key name: the registry counts them after conversion to UTF-16, where
// every character of the active code page, single- or double-byte, is one unit (two for a
// four-byte sequence of UTF-8).
std::size_t CharCount(std::string_view name);

// "parent\name", or "name" below a root (whose path is empty).
std::string Join(std::string_view parentPath, std::string_view name);

// The path below HKEY_LOCAL_MACHINE that a 32-bit program on 64-bit Windows reaches for
// `path`: SOFTWARE's sub-keys lie below SOFTWARE\Wow6432Node ("SOFTWARE\Autodesk" is
// "SOFTWARE\Wow6432Node\Autodesk", which itself stays as it is). Other paths stay as written.
std::string In32BitView(std::string_view path);

}  // namespace platform::registry_path
