#include "platform/memory/memory_file_tree.h"

#include <cstdio>
#include <ostream>

namespace platform {
namespace {

std::string Hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
  return text;
}

void DescribeChange(const std::string& path, const FileState& before, const FileState& after,
                    std::vector<std::string>& lines) {
  if (before.attributes != after.attributes) {
    lines.push_back("* " + path + " attributes " + Hex(before.attributes) + " -> " +
                    Hex(after.attributes));
  }
  if (before.contents != after.contents) lines.push_back("* " + path + " contents");
  if (before.access != after.access) {
    lines.push_back("* " + path + " access " + FolderAccessName(before.access) + " -> " +
                    FolderAccessName(after.access));
  }
}

}  // namespace

std::vector<std::string> DescribeChanges(const FileTree& before, const FileTree& after) {
  std::vector<std::string> lines;
  auto old = before.begin();
  auto now = after.begin();
  // Both maps are in path order, so one merge walk pairs every path with itself.
  while (old != before.end() || now != after.end()) {
    if (now == after.end() || (old != before.end() && old->first < now->first)) {
      lines.push_back("- " + old->first);
      ++old;
    } else if (old == before.end() || now->first < old->first) {
      lines.push_back("+ " + now->first);
      ++now;
    } else {
      DescribeChange(now->first, old->second, now->second, lines);
      ++old;
      ++now;
    }
  }
  return lines;
}

void PrintTo(const FileState& state, std::ostream* out) {
  *out << "{attributes " << Hex(state.attributes) << ", " << state.contents.size()
       << " bytes \"" << state.contents << "\", access " << FolderAccessName(state.access) << "}";
}

const char* FolderAccessName(FolderAccess access) {
  switch (access) {
    case FolderAccess::MachineWide:
      return "machine-wide";
    case FolderAccess::CurrentUserOnly:
      return "current user only";
    case FolderAccess::Inherited:
      break;
  }
  return "inherited";
}

}  // namespace platform
