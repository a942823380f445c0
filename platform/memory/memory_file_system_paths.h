#pragma once

#include <string>
#include <string_view>
#include <vector>

// How Windows reads a narrow path, for the in-memory file system: roots, separators, "." and
// "..", the current folder, and the wildcards of FindFirstFileA. Paths are text in the active
// ANSI code page, taken apart character by character, so a trail byte 0x5C stays in its name.
namespace platform::paths {

// A path made absolute, as GetFullPathNameA makes it.
struct WindowsPath {
  std::string root;                // "C:" or "\\server\share", spelled as the caller spelled it
  std::vector<std::string> names;  // the folders and file below the root, none empty
  bool endsWithSeparator = false;  // the text ended in "\" or "/"
};

// Reads `text` against the current folder: "/" counts as "\", doubled separators count as
// one, "." and ".." are folded, trailing dots and spaces of the last name are dropped. A
// drive-relative path ("\x") takes the current folder's root; "D:x" is relative to the
// current folder when that is on D:, else to the root of D:. False for text that names no
// place (empty text, a UNC path without a share).
bool ResolveWindowsPath(std::string_view text, const WindowsPath& current,
                        WindowsPath& resolved);

// "C:\a\b"; a root alone ends in a backslash ("C:\", "\\server\share\").
std::string WindowsPathText(const WindowsPath& path);

// Both paths name the same place, letters compared without regard to case.
bool SamePlace(const WindowsPath& a, const WindowsPath& b);

// `inner` is `outer` or lies somewhere below it.
bool IsAtOrBelow(const WindowsPath& inner, const WindowsPath& outer);

bool HasWildcard(std::string_view name);

// FindFirstFileA's matching of one name: "*" any run of characters, "?" one character,
// letters without regard to case, and a trailing ".*" also matching a name with no dot (so
// "*.*" matches every name).
bool NameMatchesPattern(std::string_view pattern, std::string_view name);

// A name Windows lets a file or folder have: none of  < > : " / \ | ? *  or control characters
// as characters of their own (a trail byte 0x7C inside a Chinese character is fine).
bool IsValidFileName(std::string_view name);

}  // namespace platform::paths
