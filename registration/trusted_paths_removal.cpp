// Taking the product folder back out of a TRUSTEDPATHS value when the plug-in is removed.

#include <string>

#include "registration/trusted_paths.h"
#include "registration/trusted_paths_text.h"

namespace registration {
namespace {

bool NamesFolder(std::u16string_view entry, const std::u16string& upperFolder) {
  const std::u16string upper = trusted_paths_text::ToUpper(entry);
  return upper == upperFolder || upper == upperFolder + u"\\" || upper == upperFolder + u"\\...";
}

}  // namespace

std::u16string RemoveTrustedFolder(std::u16string_view value, std::u16string_view folder) {
  // The folder as the setup stored it: upper-cased in the code page's way.
  const std::u16string upperFolder = trusted_paths_text::ToUpper(folder);
  std::u16string kept;
  bool first = true;
  std::size_t start = 0;
  while (start <= value.size()) {
    std::size_t end = value.find(u';', start);
    if (end == std::u16string_view::npos) end = value.size();
    const std::u16string_view entry = value.substr(start, end - start);
    if (!NamesFolder(entry, upperFolder)) {
      if (!first) kept += u';';
      kept += entry;
      first = false;
    }
    start = end + 1;
  }
  return kept;
}

}  // namespace registration
