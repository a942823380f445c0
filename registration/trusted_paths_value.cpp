// The text rule of the trusted-paths update, apart from the registry so it can be reasoned
// about (and tested) on its own.

#include <string>

#include "platform/ansi_text.h"
#include "registration/trusted_paths.h"

namespace registration {
namespace {

// AutoCAD leaves a value of one or two bytes (".;", a stray separator) in fresh profiles; it
// names no folder, so the product folder replaces it.
constexpr std::size_t kLongestMeaninglessValue = 2;

}  // namespace

std::string FormTrustedPathsValue(std::string_view currentValue, std::string_view installFolder) {
  if (currentValue.size() <= kLongestMeaninglessValue) {
    return std::string(installFolder);
  }
  // AutoCAD compares folders without regard to case; the whole value is kept upper-cased so
  // that a folder already present in another case is recognised on every later run.
  std::string value = ansi::ToUpper(currentValue);
  const std::string folder = ansi::ToUpper(installFolder);
  if (ansi::FindText(value, folder) != std::string::npos) {
    return value;
  }
  value += ';';
  value += folder;
  return value;
}

}  // namespace registration
