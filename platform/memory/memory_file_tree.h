#pragma once

#include <cstdint>
#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace platform {

// One file or folder of the in-memory file system as a test sees it.
struct FileState {
  std::uint32_t attributes = 0;  // as GetFileAttributesA reports them
  std::string contents;          // empty for a folder; "-> <target>" for a link
  FolderAccess access = FolderAccess::Inherited;  // what ProtectFolder gave it

  bool operator==(const FileState&) const = default;
};

// The whole file system: every root, folder and file by its full path in stored case
// ("C:\", "C:\Data", "C:\Data\ReadMe.txt"), in byte order of the paths. A file's alternate
// data stream is an entry of its own ("C:\Data\a.dll:Zone.Identifier"); a link is an entry
// whose contents name its target, and nothing below it is listed.
using FileTree = std::map<std::string, FileState>;

// What changed between two trees, one line per path in path order:
//   "+ C:\a\b.txt"                  added
//   "- C:\a\old.txt"                removed
//   "* C:\a\c.txt attributes 0x20 -> 0x21"
//   "* C:\a\c.txt contents"
//   "* C:\a access inherited -> machine-wide"
std::vector<std::string> DescribeChanges(const FileTree& before, const FileTree& after);

// Lets GoogleTest print a state readably in a failed comparison.
void PrintTo(const FileState& state, std::ostream* out);

// "inherited", "machine-wide" or "current user only".
const char* FolderAccessName(FolderAccess access);

}  // namespace platform
