// The text rule of the trusted-paths update, apart from the registry so it can be reasoned
// about (and tested) on its own.

#include <string>

#include "registration/trusted_paths.h"
#include "registration/trusted_paths_text.h"

namespace registration {
namespace {

// AutoCAD leaves a value of one or two bytes (".;", a stray separator) in fresh profiles; it
// names no folder, so the product folder replaces it. Measured in the code page, as the
// narrow registry functions hand the value over.
constexpr std::size_t kLongestMeaninglessValue = 2;

}  // namespace

std::u16string FormTrustedPathsValue(std::u16string_view currentValue,
                                     std::u16string_view installFolder) {
  // Every unit takes at least one byte in the code page: only a value this short needs
  // converting to be measured.
  if (currentValue.size() <= kLongestMeaninglessValue &&
      trusted_paths_text::CodePageLength(currentValue) <= kLongestMeaninglessValue) {
    return std::u16string(installFolder);
  }
  // AutoCAD compares folders without regard to case; the whole value is kept upper-cased so
  // that a folder already present in another case is recognised on every later run. What the
  // code page cannot carry keeps its case, and every character of other programs' entries
  // is written back.
  std::u16string value = trusted_paths_text::ToUpper(currentValue);
  const std::u16string folder = trusted_paths_text::ToUpper(installFolder);
  if (trusted_paths_text::Find(value, folder) != std::u16string::npos) {
    return value;
  }
  value += u';';
  value += folder;
  return value;
}

}  // namespace registration
