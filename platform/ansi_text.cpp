#include "platform/ansi_text.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <span>

#include "platform/code_page.h"
#include "platform/cp936_case_table.h"

namespace ansi {
namespace {

// The lead bytes as 256 bits, four words of 64.
struct LeadBits {
  std::array<std::uint64_t, 4> words{};

  bool Has(unsigned char byte) const { return (words[byte >> 6] >> (byte & 63) & 1) != 0; }
};

LeadBits BitsOf(const LeadByteTable& table) {
  LeadBits bits;
  for (std::size_t byte = 0; byte < table.size(); ++byte) {
    if (table[byte]) bits.words[byte >> 6] |= std::uint64_t{1} << (byte & 63);
  }
  return bits;
}

// Word `word` of the bits of the lead bytes first..last.
constexpr std::uint64_t RangeWord(unsigned word, unsigned first, unsigned last) {
  std::uint64_t bits = 0;
  for (unsigned byte = first; byte <= last; ++byte) {
    if (byte >> 6 == word) bits |= std::uint64_t{1} << (byte & 63);
  }
  return bits;
}

// Set at start (and by tests between cases), read by every call; atomic so a helper thread
// never sees a torn word. Constant-initialised to code page 936, so that setting the code page
// from another file's static initialiser is never undone by this file's own.
constinit std::atomic<unsigned> activeCodePage{kCodePage936};
constinit std::array<std::atomic<std::uint64_t>, 4> activeLeadBits{
    {{RangeWord(0, 0x81, 0xFE)},
     {RangeWord(1, 0x81, 0xFE)},
     {RangeWord(2, 0x81, 0xFE)},
     {RangeWord(3, 0x81, 0xFE)}}};

LeadBits ActiveLeadBits() {
  LeadBits bits;
  for (std::size_t k = 0; k < bits.words.size(); ++k) {
    bits.words[k] = activeLeadBits[k].load(std::memory_order_relaxed);
  }
  return bits;
}

// The length rule of the header, with the lead bytes already looked up.
std::size_t CharLength(const LeadBits& lead, std::string_view text, std::size_t pos) {
  return lead.Has(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() &&
                 text[pos + 1] != '\0'
             ? 2
             : 1;
}

// Only code page 936 changes the case of double-byte characters; the table is its own.
std::span<const detail::CasePair> UpperPairs() {
  return ActiveCodePage() == kCodePage936 ? detail::Cp936ToUpperPairs()
                                          : std::span<const detail::CasePair>{};
}

std::span<const detail::CasePair> LowerPairs() {
  return ActiveCodePage() == kCodePage936 ? detail::Cp936ToLowerPairs()
                                          : std::span<const detail::CasePair>{};
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
  const LeadBits lead = ActiveLeadBits();
  std::string result(text);
  for (std::size_t pos = 0; pos < result.size();) {
    if (CharLength(lead, result, pos) == 2) {
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
  UpperCaseBytes(std::string_view text, const LeadBits& lead,
                 std::span<const detail::CasePair> pairs)
      : text_(text), lead_(lead), pairs_(pairs) {}

  bool AtEnd() const { return pos_ >= text_.size() && !haveTrail_; }

  unsigned char Next() {
    if (haveTrail_) {
      haveTrail_ = false;
      return trail_;
    }
    const std::size_t pos = pos_;
    if (CharLength(lead_, text_, pos) == 2) {
      const std::uint16_t upper = MapDoubleByte(pairs_, DoubleByteCode(text_, pos));
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
  const LeadBits& lead_;
  std::span<const detail::CasePair> pairs_;
  std::size_t pos_ = 0;
  unsigned char trail_ = 0;
  bool haveTrail_ = false;
};

}  // namespace

LeadByteTable KnownLeadBytes(unsigned codePage) {
  LeadByteTable table{};
  const auto mark = [&table](unsigned first, unsigned last) {
    for (unsigned byte = first; byte <= last; ++byte) table[byte] = true;
  };
  switch (codePage) {
    case 932:
      mark(0x81, 0x9F);
      mark(0xE0, 0xFC);
      break;
    case 936:
    case 949:
    case 950:
      mark(0x81, 0xFE);
      break;
    default:
      break;
  }
  return table;
}

void SetActiveCodePage(unsigned codePage) {
  SetActiveCodePage(codePage, KnownLeadBytes(codePage));
}

void SetActiveCodePage(unsigned codePage, const LeadByteTable& leadBytes) {
  const LeadBits bits = BitsOf(leadBytes);
  for (std::size_t k = 0; k < bits.words.size(); ++k) {
    activeLeadBits[k].store(bits.words[k], std::memory_order_relaxed);
  }
  activeCodePage.store(codePage, std::memory_order_relaxed);
}

unsigned ActiveCodePage() { return activeCodePage.load(std::memory_order_relaxed); }

bool IsLeadByte(unsigned char byte) { return ActiveLeadBits().Has(byte); }

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  return CharLength(ActiveLeadBits(), text, pos);
}

// UTF-8 through the code page's own conversion, which is Windows' in the Windows builds, so a
// broken sequence counts as Windows counts it.
std::size_t Utf16Length(std::string_view text) {
  if (ActiveCodePage() == code_page::kUtf8)
    return code_page::ToUtf16(code_page::kUtf8, text).size();
  const LeadBits lead = ActiveLeadBits();
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += CharLength(lead, text, pos)) ++units;
  return units;
}

std::string ToUpper(std::string_view text) {
  return MapCase(text, AsciiUpper, UpperPairs());
}

std::string ToLower(std::string_view text) {
  return MapCase(text, AsciiLower, LowerPairs());
}

std::size_t FindText(std::string_view haystack, std::string_view needle) {
  if (needle.empty()) return 0;
  if (needle.size() > haystack.size()) return std::string_view::npos;
  const LeadBits lead = ActiveLeadBits();
  const std::size_t lastStart = haystack.size() - needle.size();
  for (std::size_t pos = 0; pos <= lastStart; pos += CharLength(lead, haystack, pos)) {
    if (haystack[pos] == needle.front() &&
        std::memcmp(haystack.data() + pos, needle.data(), needle.size()) == 0) {
      return pos;
    }
  }
  return std::string_view::npos;
}

// A trail byte can only be told from a character of its own by walking from the start.
std::size_t FindLastBackslash(std::string_view text) {
  const LeadBits lead = ActiveLeadBits();
  std::size_t found = std::string_view::npos;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = CharLength(lead, text, pos);
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
  const LeadBits lead = ActiveLeadBits();
  const std::span<const detail::CasePair> pairs = UpperPairs();
  UpperCaseBytes left(a, lead, pairs);
  UpperCaseBytes right(b, lead, pairs);
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
