// The ANSI text helpers on any bytes: case mapping keeps every character where it was,
// searches answer only positions where a character starts, and a trail byte 0x5C is never
// taken for a backslash.
//
// Input: a selector byte (bits 0, 6, 7: the code page), a length byte n, then n bytes of a
// second text and the first text as the rest.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ansi_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr std::size_t npos = std::string_view::npos;

int Sign(int value) { return (value > 0) - (value < 0); }

// Case mapping changes bytes, never where characters begin or end.
void CheckSameCharacters(std::string_view original, std::string_view mapped) {
  FUZZ_CHECK(mapped.size() == original.size());
  for (std::size_t pos = 0; pos < original.size();) {
    const std::size_t length = ansi::CharLengthAt(original, pos);
    FUZZ_CHECK(ansi::CharLengthAt(mapped, pos) == length);
    // Single bytes outside A-Z and a-z keep their value: the mapping never makes a backslash.
    if (length == 1) {
      const char c = original[pos];
      const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      FUZZ_CHECK(letter || mapped[pos] == c);
    } else if (ansi::ActiveCodePage() != ansi::kCodePage936) {
      // Only code page 936 has case partners among its double-byte characters.
      FUZZ_CHECK(mapped.substr(pos, 2) == original.substr(pos, 2));
    }
    pos += length;
  }
}

void CheckCaseMapping(std::string_view text) {
  const std::string upper = ansi::ToUpper(text);
  const std::string lower = ansi::ToLower(text);
  CheckSameCharacters(text, upper);
  CheckSameCharacters(text, lower);
  FUZZ_CHECK(ansi::ToUpper(upper) == upper);
  FUZZ_CHECK(ansi::ToLower(lower) == lower);
  // A name and its other-case forms are one name to the registry and the file system.
  FUZZ_CHECK(ansi::EqualsNoCase(text, upper));
  FUZZ_CHECK(ansi::EqualsNoCase(text, lower));
}

// The first position where `needle` begins on a character boundary, found the slow way.
std::size_t FindSlowly(std::string_view haystack, std::string_view needle) {
  for (std::size_t pos = 0;; pos += ansi::CharLengthAt(haystack, pos)) {
    if (haystack.substr(pos, needle.size()) == needle) return pos;
    if (pos >= haystack.size()) return npos;
  }
}

void CheckFindText(std::string_view haystack, std::string_view needle) {
  const std::size_t found = ansi::FindText(haystack, needle);
  FUZZ_CHECK(found == FindSlowly(haystack, needle));
  if (found != npos) {
    FUZZ_CHECK(fuzz::IsCharBoundary(haystack, found));
    FUZZ_CHECK(haystack.substr(found, needle.size()) == needle);
  }
}

void CheckBackslashes(std::string_view text) {
  // Every backslash that is a character of its own, front to back.
  std::size_t last = npos;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = ansi::CharLengthAt(text, pos);
    if (length == 1 && text[pos] == '\\') last = pos;
    pos += length;
  }
  FUZZ_CHECK(ansi::FindLastBackslash(text) == last);
  const bool endsWithOwn = !text.empty() && last == text.size() - 1;
  FUZZ_CHECK(ansi::EndsWithBackslash(text) == endsWithOwn);

  const std::string stripped = ansi::StripTrailingBackslash(text);
  FUZZ_CHECK(text.substr(0, stripped.size()) == stripped);
  FUZZ_CHECK(stripped.size() == (endsWithOwn ? text.size() - 1 : text.size()));
}

void CheckCompare(std::string_view a, std::string_view b) {
  const int ab = ansi::CompareNoCase(a, b);
  FUZZ_CHECK(Sign(ab) == -Sign(ansi::CompareNoCase(b, a)));
  FUZZ_CHECK(ansi::CompareNoCase(a, a) == 0);
  // The order is that of the upper-cased bytes, unsigned, as the registry lists names.
  FUZZ_CHECK(Sign(ab) == Sign(ansi::ToUpper(a).compare(ansi::ToUpper(b))));
  FUZZ_CHECK(ansi::EqualsNoCase(a, b) == (ab == 0 && a.size() == b.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(data, size);
  const fuzz::CodePageScope codePage(fuzz::CodePageFrom(input.Byte()));
  const std::string_view second = input.Take(input.Byte());
  const std::string_view first = input.Rest();

  CheckCaseMapping(first);
  CheckCaseMapping(second);
  CheckFindText(first, second);
  CheckFindText(second, first);
  CheckBackslashes(first);
  CheckBackslashes(second);
  CheckCompare(first, second);
  return 0;
}
