#include "registration/trusted_paths_text.h"

#include <map>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/code_page.h"

namespace registration::trusted_paths_text {
namespace {

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Units of the character that starts at `pos`: a surrogate pair is one character.
std::size_t CharUnits(std::u16string_view text, std::size_t pos) {
  return IsHighSurrogate(text[pos]) && pos + 1 < text.size() && IsLowSurrogate(text[pos + 1])
             ? 2
             : 1;
}

// The upper-case form of one unit that is not ASCII and no half of a surrogate pair, or the
// unit itself when the code page does not carry it (it does not come back from its
// code-page form unchanged).
char16_t UpperOfUnit(unsigned codePage, char16_t unit) {
  const std::u16string_view character(&unit, 1);
  const std::string narrow = code_page::FromUtf16(codePage, character);
  if (code_page::ToUtf16(codePage, narrow) != character) return unit;
  const std::u16string upper = code_page::ToUtf16(codePage, ansi::ToUpper(narrow));
  return upper.size() == 1 ? upper[0] : unit;
}

// The answers of UpperOfUnit for one code page, worked out once per unit: a value of
// thousands of Chinese characters then costs a look-up per character, not three conversions.
class UpperTable {
 public:
  explicit UpperTable(unsigned codePage) : codePage_(codePage), table_(TableOf(codePage)) {}

  char16_t Upper(char16_t unit) {
    char16_t& entry = table_[unit];
    if (entry == u'\0') entry = UpperOfUnit(codePage_, unit);
    return entry;
  }

 private:
  // 0 in an entry: not yet worked out (no unit here has 0 as its form).
  static std::vector<char16_t>& TableOf(unsigned codePage) {
    thread_local std::map<unsigned, std::vector<char16_t>> tables;
    std::vector<char16_t>& table = tables[codePage];
    if (table.empty()) table.assign(0x10000, u'\0');
    return table;
  }

  unsigned codePage_;
  std::vector<char16_t>& table_;
};

}  // namespace

std::u16string ToUpper(std::u16string_view text) {
  UpperTable table(ansi::ActiveCodePage());
  std::u16string upper;
  upper.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const char16_t unit = text[pos];
    // ASCII is the same in every ANSI code page, and only a-z have partners there.
    if (unit < 0x80) {
      upper += unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
      ++pos;
      continue;
    }
    const std::size_t units = CharUnits(text, pos);
    // No code page here carries a character outside the Basic Multilingual Plane, nor half
    // of one.
    if (units == 1 && !IsHighSurrogate(unit) && !IsLowSurrogate(unit)) {
      upper += table.Upper(unit);
    } else {
      upper += text.substr(pos, units);
    }
    pos += units;
  }
  return upper;
}

std::size_t Find(std::u16string_view haystack, std::u16string_view needle) {
  for (std::size_t at = haystack.find(needle); at != std::u16string_view::npos;
       at = haystack.find(needle, at + 1)) {
    const bool insidePair =
        at > 0 && IsHighSurrogate(haystack[at - 1]) && IsLowSurrogate(haystack[at]);
    if (!insidePair) return at;
  }
  return std::u16string_view::npos;
}

std::size_t CodePageLength(std::u16string_view text) {
  return code_page::FromUtf16(ansi::ActiveCodePage(), text).size();
}

std::u16string FromCodePage(std::string_view text) {
  return code_page::ToUtf16(ansi::ActiveCodePage(), text);
}

}  // namespace registration::trusted_paths_text
