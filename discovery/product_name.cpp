#include "discovery/product_name.h"

#include "platform/ansi_text.h"

namespace discovery {
namespace {

bool NamesYearAfterItsStart(std::string_view productName, std::string_view yearText) {
  const std::size_t position = ansi::FindText(productName, yearText);
  if (position == std::string_view::npos) {
    return false;
  }
  if (position > 0) {
    return true;
  }
  // The year stands at the start; search again from the next character on.
  const std::size_t next = ansi::CharLengthAt(productName, 0);
  return ansi::FindText(productName.substr(next), yearText) != std::string_view::npos;
}

}  // namespace

const ReleaseRow* ClassifyProductName(std::string_view productName, std::size_t recognisedRows) {
  for (std::size_t row = 0; row < recognisedRows && row < kReleaseCount; ++row) {
    if (NamesYearAfterItsStart(productName, kReleaseTable[row].yearText)) {
      return &kReleaseTable[row];
    }
  }
  return nullptr;
}

}  // namespace discovery
