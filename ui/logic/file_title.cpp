#include "ui/logic/file_title.h"

#include "platform/ansi_text.h"

namespace ui {

std::string FileTitle(std::string_view path) {
  const std::size_t backslash = ansi::FindLastBackslash(path);
  std::string_view name = backslash == std::string_view::npos ? path : path.substr(backslash + 1);
  // A dot is never the second byte of a double-byte character, so a plain search is safe; a
  // name that starts with its only dot keeps it.
  const std::size_t dot = name.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0) {
    name = name.substr(0, dot);
  }
  return std::string(name);
}

}  // namespace ui
