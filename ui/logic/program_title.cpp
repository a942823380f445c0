#include "ui/logic/program_title.h"

#include <cstddef>

#include "platform/ansi_text.h"

namespace ui {

std::string ProgramTitleOf(std::string_view modulePath) {
  std::size_t nameStart = 0;
  for (std::size_t pos = 0; pos < modulePath.size();) {
    const std::size_t length = ansi::CharLengthAt(modulePath, pos);
    if (length == 1 && (modulePath[pos] == '\\' || modulePath[pos] == '/')) nameStart = pos + 1;
    pos += length;
  }
  std::string_view name = modulePath.substr(nameStart);
  // No trail byte is a full stop, so the last one is the extension's.
  const std::size_t dot = name.rfind('.');
  if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
  return std::string(name);
}

}  // namespace ui
