#include "platform/ansi_text.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/cp936_case_table.h"

namespace ansi {
namespace {

// Set once at start, read by every call; atomic so a helper thread never sees a torn value.
std::atomic<unsigned> activeCodePage{kCodePage936};

bool IsDoubleByteCodePage(unsigned codePage) { return codePage == kCodePage936; }

bool IsLeadByteIn(bool doubleByte, unsigned char byte) {
  return doubleByte && byte >= 0x81 && byte <= 0xFE;
}

// The length rule of the header, with the code page already looked up.
std::size_t CharLength(bool doubleByte, std::string_view text, std::size_t pos) {
  return IsLeadByteIn(doubleByte, static_cast<unsigned char>(text[pos])) &&
                 pos + 1 < text.size() && text[pos + 1] != '\0'
             ? 2
             : 1;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The partner of a double-byte character, or the character itself. The table covers a few
// lead bytes only (0xA2-0xA7), so Chinese characters leave at the range check.
std::uint16_t MapDoubleByte(std::span<const detail::CasePair> pairs, std::uint16_t code) {
  if (pairs.empty() || code < pairs.front().from || code > pairs.back().from) return code;
  const auto found = std::lower_bound(
      pairs.begin(), pairs.end(), code,
      [](const detail::CasePair& pair, std::uint16_t value) { return pair.from < value; });
  return found != pairs.end() && found->from == code ? found->to : code;
}

std::uint16_t DoubleByteCode(std::string_view text, std::size_t pos) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(text[pos]) << 8 |
                                    static_cast<unsigned char>(text[pos + 1]));
}

std::string MapCase(std::string_view text, char (*single)(char),
                    std::span<const detail::CasePair> pairs) {
  const bool doubleByte = IsDoubleByteCodePage(ActiveCodePage());
  std::string result(text);
  for (std::size_t pos = 0; pos < result.size();) {
    if (CharLength(doubleByte, result, pos) == 2) {
      const std::uint16_t mapped = MapDoubleByte(pairs, DoubleByteCode(result, pos));
      result[pos] = static_cast<char>(mapped >> 8);
      result[pos + 1] = static_cast<char>(mapped & 0xFF);
      pos += 2;
    } else {
      result[pos] = single(result[pos]);
      pos += 1;
    }
  }
  return result;
}

// Hands out the bytes of a text's upper-cased form one at a time, so that two names compare
// without a copy of either.
class UpperCaseBytes {
 public:
  UpperCaseBytes(std::string_view text, bool doubleByte) : text_(text), doubleByte_(doubleByte) {}

  bool AtEnd() const { return pos_ >= text_.size() && !haveTrail_; }

  unsigned char Next() {
    if (haveTrail_) {
      haveTrail_ = false;
      return trail_;
    }
    const std::size_t pos = pos_;
    if (CharLength(doubleByte_, text_, pos) == 2) {
      const std::uint16_t upper =
          MapDoubleByte(detail::Cp936ToUpperPairs(), DoubleByteCode(text_, pos));
      pos_ += 2;
      trail_ = static_cast<unsigned char>(upper & 0xFF);
      haveTrail_ = true;
      return static_cast<unsigned char>(upper >> 8);
    }
    pos_ += 1;
    return static_cast<unsigned char>(AsciiUpper(text_[pos]));
  }

 private:
  std::string_view text_;
  bool doubleByte_;
  std::size_t pos_ = 0;
  unsigned char trail_ = 0;
  bool haveTrail_ = false;
};

}  // namespace

void SetActiveCodePage(unsigned codePage) {
  activeCodePage.store(codePage, std::memory_order_relaxed);
}

unsigned ActiveCodePage() { return activeCodePage.load(std::memory_order_relaxed); }

bool IsLeadByte(unsigned char byte) {
  return IsLeadByteIn(IsDoubleByteCodePage(ActiveCodePage()), byte);
}

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  return CharLength(IsDoubleByteCodePage(ActiveCodePage()), text, pos);
}

std::string ToUpper(std::string_view text) {
  return MapCase(text, AsciiUpper, detail::Cp936ToUpperPairs());
}

std::string ToLower(std::string_view text) {
  return MapCase(text, AsciiLower, detail::Cp936ToLowerPairs());
}

std::size_t FindText(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return 0;
  if (needle.size() > haystack.size()) return std::string_view::npos;
  const bool doubleByte = IsDoubleByteCodePage(ActiveCodePage());
  const std::size_t lastStart = haystack.size() - needle.size();
  for (std::size_t pos = 0; pos <= lastStart; pos += CharLength(doubleByte, haystack, pos)) {
    if (haystack[pos] == needle.front() &&
        std::memcmp(haystack.data() + pos, needle.data(), needle.size()) == 0) {
      return pos;
    }
  }
  return std::string_view::npos;
}

// A trail byte can only be told from a character of its own by walking from the start.
std::size_t FindLastBackslash(std::string_view text) {
  const bool doubleByte = IsDoubleByteCodePage(ActiveCodePage());
  std::size_t found = std::string_view::npos;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharLength(doubleByte, text, pos);
    if (length == 1 && text[pos] == '\\') found = pos;
    pos += length;
  }
  return found;
}

bool EndsWithBackslash(std::string_view text) {
  return !text.empty() && text.back() == '\\' && FindLastBackslash(text) == text.size() - 1;
}

std::string StripTrailingBackslash(std::string_view text) {
  if (EndsWithBackslash(text)) text.remove_suffix(1);
  return std::string(text);
}

int CompareNoCase(std::string_view a, std::string_view b) {
  const bool doubleByte = IsDoubleByteCodePage(ActiveCodePage());
  UpperCaseBytes left(a, doubleByte);
  UpperCaseBytes right(b, doubleByte);
  while (!left.AtEnd() && !right.AtEnd()) {
    const unsigned char l = left.Next();
    const unsigned char r = right.Next();
    if (l != r) return l < r ? -1 : 1;
  }
  if (left.AtEnd() && right.AtEnd()) return 0;
  return left.AtEnd() ? -1 : 1;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareNoCase(a, b) == 0;
}

}  // namespace ansi
