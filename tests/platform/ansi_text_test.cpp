#include "platform/ansi_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/built_in_text.h"
#include "platform/file_system.h"

namespace {

using namespace std::string_view_literals;
constexpr auto npos = std::string_view::npos;

// Switches the helpers to another code page for one test and back to 936 after it.
class CodePageScope {
 public:
  explicit CodePageScope(unsigned codePage) { ansi::SetActiveCodePage(codePage); }
  ~CodePageScope() { ansi::SetActiveCodePage(ansi::kCodePage936); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;
};

int Sign(int value) { return (value > 0) - (value < 0); }

// UTF-8 bytes, whatever the build does with narrow literals.
std::string U8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

// ---- Code page and character boundaries -------------------------------------------------

TEST(AnsiCodePage, DefaultsTo936AndFollowsSetActiveCodePage) {
  EXPECT_EQ(ansi::ActiveCodePage(), ansi::kCodePage936);
  {
    CodePageScope westernEurope(1252);
    EXPECT_EQ(ansi::ActiveCodePage(), 1252u);
  }
  EXPECT_EQ(ansi::ActiveCodePage(), ansi::kCodePage936);
}

TEST(AnsiCodePage, LeadBytesAre0x81To0xFEIn936) {
  for (unsigned byte = 0; byte <= 0xFF; ++byte) {
    EXPECT_EQ(ansi::IsLeadByte(static_cast<unsigned char>(byte)), byte >= 0x81 && byte <= 0xFE)
        << "byte " << byte;
  }
}

TEST(AnsiCodePage, SingleByteCodePageHasNoLeadBytes) {
  CodePageScope westernEurope(1252);
  for (unsigned byte = 0; byte <= 0xFF; ++byte) {
    EXPECT_FALSE(ansi::IsLeadByte(static_cast<unsigned char>(byte))) << "byte " << byte;
  }
}

TEST(AnsiCodePage, LeadBytesFollowTheActiveCodePage) {
  struct Case {
    unsigned codePage;
    bool (*isLead)(unsigned byte);
  };
  const Case cases[] = {
      {932, [](unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }},
      {936, [](unsigned b) { return b >= 0x81 && b <= 0xFE; }},
      {949, [](unsigned b) { return b >= 0x81 && b <= 0xFE; }},
      {950, [](unsigned b) { return b >= 0x81 && b <= 0xFE; }},
      {437, [](unsigned) { return false; }},
      {65001, [](unsigned) { return false; }},
  };
  for (const auto& [codePage, isLead] : cases) {
    const CodePageScope scope(codePage);
    for (unsigned byte = 0; byte <= 0xFF; ++byte) {
      ASSERT_EQ(ansi::IsLeadByte(static_cast<unsigned char>(byte)), isLead(byte))
          << "code page " << codePage << ", byte " << byte;
    }
  }
}

TEST(AnsiCodePage, LeadBytesReportedByTheSystemHoldOverTheKnownOnes) {
  ansi::LeadByteTable reported{};
  reported[0xA5] = true;
  ansi::SetActiveCodePage(950, reported);
  EXPECT_EQ(ansi::ActiveCodePage(), 950u);
  EXPECT_EQ(ansi::CharLengthAt("\xA5\x5C"sv, 0), 2u);
  EXPECT_EQ(ansi::CharLengthAt("\xA4\x5C"sv, 0), 1u);
  ansi::SetActiveCodePage(ansi::kCodePage936);
}

// Names ending in a character whose second byte is 0x5C, in the code pages where that byte is
// a trail byte, and the same bytes where it is not.
TEST(AnsiCodePage, TrailByte0x5CEndsNoNameInAnyDoubleByteCodePage) {
  struct Case {
    unsigned codePage;
    std::string_view path;  // "C:\" and a name whose last byte is 0x5C
    bool endsInSeparator;
  };
  const Case cases[] = {
      {950, "C:\\Plot\xA5\x5C"sv, false},  // 功
      {932, "C:\\Plot\x83\x5C"sv, false},  // ソ
      {932, "C:\\Plot\x95\x5C"sv, false},  // 表
      {936, "C:\\Plot\x81\x5C"sv, false},  // 乗
      {932, "C:\\Plot\xB1\x5C"sv, true},   // half-width katakana A is one byte, then '\'
      {1252, "C:\\Plot\xA5\x5C"sv, true},
  };
  for (const auto& [codePage, path, endsInSeparator] : cases) {
    const CodePageScope scope(codePage);
    SCOPED_TRACE(codePage);
    EXPECT_EQ(ansi::EndsWithBackslash(path), endsInSeparator);
    EXPECT_EQ(ansi::FindLastBackslash(path), endsInSeparator ? path.size() - 1 : 2u);
    EXPECT_EQ(ansi::StripTrailingBackslash(path),
              endsInSeparator ? path.substr(0, path.size() - 1) : path);
    EXPECT_EQ(ansi::FindText(path.substr(3), "\\"sv), endsInSeparator ? path.size() - 4 : npos);
    EXPECT_EQ(ansi::CharLengthAt(path, path.size() - 2), endsInSeparator ? 1u : 2u);
  }
}

TEST(AnsiCharLength, LeadByteTakesAnyFollowingByteButNul) {
  // 乗 0x81 0x5C, 昞 0x95 0x5C and 晐 0x95 0x7C end in a backslash or a vertical bar.
  EXPECT_EQ(ansi::CharLengthAt("\x81\x5C"sv, 0), 2u);
  EXPECT_EQ(ansi::CharLengthAt("\x95\x5C"sv, 0), 2u);
  EXPECT_EQ(ansi::CharLengthAt("\x95\x7C"sv, 0), 2u);
  EXPECT_EQ(ansi::CharLengthAt("\xB0\x61"sv, 0), 2u);
  EXPECT_EQ(ansi::CharLengthAt("\xFE\xFF"sv, 0), 2u);
  EXPECT_EQ(ansi::CharLengthAt("\x81\x20"sv, 0), 2u);
  EXPECT_EQ(ansi::CharLengthAt("a\xB0"sv, 1), 1u);     // lead byte at the very end
  EXPECT_EQ(ansi::CharLengthAt("\xB0\0a"sv, 0), 1u);   // lead byte before a NUL
  EXPECT_EQ(ansi::CharLengthAt("\x80\x41"sv, 0), 1u);  // 0x80 and 0xFF lead nothing
  EXPECT_EQ(ansi::CharLengthAt("\xFF\x41"sv, 0), 1u);
  EXPECT_EQ(ansi::CharLengthAt("ab"sv, 0), 1u);
}

TEST(AnsiCharLength, EveryCharacterIsOneByteInSingleByteCodePage) {
  CodePageScope westernEurope(1252);
  EXPECT_EQ(ansi::CharLengthAt("\x95\x5C"sv, 0), 1u);
  EXPECT_EQ(ansi::CharLengthAt("\xB0\x61"sv, 0), 1u);
}

TEST(AnsiUtf16Length, PathsCountTheUnitsOfTheirConversion) {
  EXPECT_EQ(platform::PathCharacters("C:\\字字"), 5u);  // two bytes, one unit each
  const CodePageScope utf8(65001);
  EXPECT_EQ(platform::PathCharacters(U8(u8"C:\\字字")), 5u);        // three bytes, one unit each
  EXPECT_EQ(platform::PathCharacters(U8(u8"C:\\\U0001F600")), 5u);  // four bytes, two units
}

TEST(AnsiBuiltIn, TextsFollowTheActiveCodePageWhereItCarriesThem) {
  const char* folder = "Zelvar批打印软件";
  EXPECT_EQ(ansi::BuiltIn(folder), folder);
  {
    const CodePageScope utf8(65001);
    EXPECT_EQ(ansi::BuiltIn(folder), U8(u8"Zelvar批打印软件"));
  }
  const CodePageScope western(1252);  // no Chinese: the bytes stay as they always were
  EXPECT_STREQ(ansi::BuiltIn(folder), folder);
}

// ---- Case mapping ----------------------------------------------------------------------

TEST(AnsiCase, AsciiLettersChangeCaseAndNothingElseOfAscii) {
  EXPECT_EQ(ansi::ToUpper("acad-8001:409 [x_y]@`{}"), "ACAD-8001:409 [X_Y]@`{}");
  EXPECT_EQ(ansi::ToLower("ACAD-8001:409 [X_Y]@`{}"), "acad-8001:409 [x_y]@`{}");
  EXPECT_EQ(ansi::ToUpper(""), "");
  EXPECT_EQ(ansi::ToUpper("a\0b"sv), "A\0B"sv);
}

TEST(AnsiCase, DoubleByteLettersChangeToTheirPartners) {
  struct Pair {
    std::string_view lower, upper;
  };
  const Pair pairs[] = {
      {"\xA3\xE1"sv, "\xA3\xC1"sv},  // full-width a / A
      {"\xA3\xFA"sv, "\xA3\xDA"sv},  // full-width z / Z
      {"\xA6\xC1"sv, "\xA6\xA1"sv},  // Greek alpha / Alpha
      {"\xA6\xD8"sv, "\xA6\xB8"sv},  // Greek omega / Omega
      {"\xA7\xD1"sv, "\xA7\xA1"sv},  // Cyrillic a / A
      {"\xA7\xD7"sv, "\xA7\xA7"sv},  // Cyrillic io / IO, out of the alphabet's run
      {"\xA7\xF1"sv, "\xA7\xC1"sv},  // Cyrillic ya / YA
      {"\xA2\xA1"sv, "\xA2\xF1"sv},  // small Roman numeral one / Roman numeral one
      {"\xA2\xAA"sv, "\xA2\xFA"sv},  // small Roman numeral ten / Roman numeral ten
  };
  for (const auto& [lower, upper] : pairs) {
    EXPECT_EQ(ansi::ToUpper(lower), upper);
    EXPECT_EQ(ansi::ToLower(upper), lower);
    EXPECT_EQ(ansi::ToUpper(upper), upper);
    EXPECT_EQ(ansi::ToLower(lower), lower);
  }
}

TEST(AnsiCase, CharactersWithoutPartnerInTheCodePageStay) {
  const std::string chinese = "Zelvar批打印软件";
  EXPECT_EQ(ansi::ToUpper(chinese), "ZELVAR批打印软件");
  EXPECT_EQ(ansi::ToLower(chinese), "zelvar批打印软件");
  // Roman numerals eleven and twelve have no small forms in the code page, the pinyin
  // letters no capitals: nothing changes its length.
  EXPECT_EQ(ansi::ToLower("\xA2\xFB\xA2\xFC"sv), "\xA2\xFB\xA2\xFC"sv);
  EXPECT_EQ(ansi::ToUpper("\xA8\xA2\xA8\xB9"sv), "\xA8\xA2\xA8\xB9"sv);
}

TEST(AnsiCase, TrailByteInLetterRangeNeverChanges) {
  // 癮 is 0xB0 0x61 and 癆 is 0xB0 0x41: casing one must not turn it into the other.
  EXPECT_EQ(ansi::ToUpper("\xB0\x61"sv), "\xB0\x61"sv);
  EXPECT_EQ(ansi::ToLower("\xB0\x41"sv), "\xB0\x41"sv);
  EXPECT_EQ(ansi::ToUpper("x\xB0\x61y\x95\x7A"sv), "X\xB0\x61Y\x95\x7A"sv);
  // A lead byte at the end or before a NUL is alone, so the next letter is a character.
  EXPECT_EQ(ansi::ToUpper("a\xB0"sv), "A\xB0"sv);
  EXPECT_EQ(ansi::ToUpper("\xB0\0a"sv), "\xB0\0A"sv);
}

TEST(AnsiCase, SingleByteCodePageChangesOnlyAsciiLetters) {
  CodePageScope westernEurope(1252);
  // 0xE0 is a-grave in 1252, yet only a-z change; 0x61 after 0xB0 is a letter of its own.
  EXPECT_EQ(ansi::ToUpper("\xE0\xB0\x61\xA3\xE1"sv), "\xE0\xB0\x41\xA3\xE1"sv);
  EXPECT_EQ(ansi::ToLower("\xC0\xB0\x41\xA3\xC1"sv), "\xC0\xB0\x61\xA3\xC1"sv);
}

TEST(AnsiCase, OnlyCodePage936ChangesTheCaseOfDoubleByteCharacters) {
  struct Case {
    unsigned codePage;
    std::string_view text, upper;
  };
  const Case cases[] = {
      // Full-width a (A3 E1 in 936 and 949, 82 81 in 932, A2 CF in 950) and characters whose
      // trail byte is a letter stay in 932, 949 and 950; a-z change everywhere.
      {932, "ab\x82\x81\x83\x61z"sv, "AB\x82\x81\x83\x61Z"sv},
      {949, "ab\xA3\xE1\xB0\x61z"sv, "AB\xA3\xE1\xB0\x61Z"sv},
      {950, "ab\xA2\xCF\xA3\xE1\xA4\x61z"sv, "AB\xA2\xCF\xA3\xE1\xA4\x61Z"sv},
      {936, "ab\xA3\xE1\xB0\x61z"sv, "AB\xA3\xC1\xB0\x61Z"sv},
      // In 932 the half-width katakana 0xC1 is a character of its own: the 'a' after it changes.
      {932, "\xC1\x61"sv, "\xC1\x41"sv},
  };
  for (const auto& [codePage, text, upper] : cases) {
    const CodePageScope scope(codePage);
    SCOPED_TRACE(codePage);
    EXPECT_EQ(ansi::ToUpper(text), upper);
    EXPECT_EQ(ansi::ToLower(upper), text);
    EXPECT_TRUE(ansi::EqualsNoCase(text, upper));
  }
}

TEST(AnsiCase, EveryDoubleByteCharacterKeepsItsLengthAndRoundTripsThroughItsPartner) {
  int withUpperPartner = 0;
  for (unsigned lead = 0x81; lead <= 0xFE; ++lead) {
    for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::string character{static_cast<char>(lead), static_cast<char>(trail)};
      const std::string upper = ansi::ToUpper(character);
      ASSERT_EQ(upper.size(), 2u);
      ASSERT_TRUE(ansi::IsLeadByte(static_cast<unsigned char>(upper[0])));
      if (upper != character) {
        ++withUpperPartner;
        EXPECT_EQ(ansi::ToLower(upper), character) << std::hex << lead << ' ' << trail;
        EXPECT_EQ(ansi::ToUpper(upper), upper) << std::hex << lead << ' ' << trail;
      }
    }
  }
  // 26 full-width Latin, 24 Greek, 33 Cyrillic letters and ten Roman numerals.
  EXPECT_EQ(withUpperPartner, 26 + 24 + 33 + 10);
}

// ---- Searching -------------------------------------------------------------------------

TEST(AnsiFindText, FindsFirstMatchOnACharacterBoundary) {
  EXPECT_EQ(ansi::FindText("Zelvar批打印软件", "软件"), 12u);
  EXPECT_EQ(ansi::FindText("abcabc", "bc"), 1u);
  EXPECT_EQ(ansi::FindText("abc", "abc"), 0u);
  EXPECT_EQ(ansi::FindText("abc", "c"), 2u);
  EXPECT_EQ(ansi::FindText("abc", ""), 0u);
  EXPECT_EQ(ansi::FindText("", ""), 0u);
  EXPECT_EQ(ansi::FindText("abc", "abcd"), npos);
  EXPECT_EQ(ansi::FindText("abc", "x"), npos);
  EXPECT_EQ(ansi::FindText("", "a"), npos);
}

TEST(AnsiFindText, MatchStartingOnATrailByteIsSkipped) {
  // The 0x5C of 昞 and the 'a' of 癮 are trail bytes, the later ones are characters.
  EXPECT_EQ(ansi::FindText("\x95\x5C\\"sv, "\\"), 2u);
  EXPECT_EQ(ansi::FindText("\xB0\x61"sv, "a"), npos);
  EXPECT_EQ(ansi::FindText("\xB0\x61" "ab"sv, "ab"), 2u);
  // 0xB0 0xB0 0x61: the second 0xB0 is the trail of the first character.
  EXPECT_EQ(ansi::FindText("\xB0\xB0\x61"sv, "\xB0\x61"sv), npos);
  EXPECT_EQ(ansi::FindText("\xB0\xB0\xB0\x61"sv, "\xB0\x61"sv), 2u);
}

TEST(AnsiFindText, SingleByteCodePageMatchesAnywhere) {
  CodePageScope westernEurope(1252);
  EXPECT_EQ(ansi::FindText("\x95\x5C\\"sv, "\\"), 1u);
  EXPECT_EQ(ansi::FindText("\xB0\x61"sv, "a"), 1u);
}

TEST(AnsiBackslash, TrailByteIsNoSeparator) {
  const std::string_view pathEndingInTrail = "C:\\\x95\x5C"sv;  // "C:\昞"
  EXPECT_EQ(ansi::FindLastBackslash(pathEndingInTrail), 2u);
  EXPECT_FALSE(ansi::EndsWithBackslash(pathEndingInTrail));
  EXPECT_EQ(ansi::FindLastBackslash("\x81\x5C\x95\x5C"sv), npos);
  EXPECT_FALSE(ansi::EndsWithBackslash("\x81\x5C"sv));
  // Separators after a double-byte character, and after a lone lead byte at a NUL.
  EXPECT_EQ(ansi::FindLastBackslash("C:\\\x95\x5C\\"sv), 5u);
  EXPECT_TRUE(ansi::EndsWithBackslash("C:\\\x95\x5C\\"sv));
  EXPECT_TRUE(ansi::EndsWithBackslash("\xB0\0\\"sv));
}

TEST(AnsiBackslash, FindsLastSeparatorOfPlainPaths) {
  EXPECT_EQ(ansi::FindLastBackslash("C:\\Zelvar\\Data"), 9u);
  EXPECT_EQ(ansi::FindLastBackslash("C:\\Zelvar\\"), 9u);
  EXPECT_EQ(ansi::FindLastBackslash("Zelvar"), npos);
  EXPECT_EQ(ansi::FindLastBackslash(""), npos);
  EXPECT_TRUE(ansi::EndsWithBackslash("\\"));
  EXPECT_TRUE(ansi::EndsWithBackslash("C:\\Zelvar批打印软件\\"));
  EXPECT_FALSE(ansi::EndsWithBackslash("C:\\Zelvar"));
  EXPECT_FALSE(ansi::EndsWithBackslash(""));
}

TEST(AnsiBackslash, SingleByteCodePageTakesEvery0x5C) {
  CodePageScope westernEurope(1252);
  EXPECT_EQ(ansi::FindLastBackslash("C:\\\x95\x5C"sv), 4u);
  EXPECT_TRUE(ansi::EndsWithBackslash("C:\\\x95\x5C"sv));
}

TEST(AnsiStripTrailingBackslash, RemovesOneSeparatorOfItsOwn) {
  EXPECT_EQ(ansi::StripTrailingBackslash("C:\\Zelvar\\"), "C:\\Zelvar");
  EXPECT_EQ(ansi::StripTrailingBackslash("C:\\Zelvar\\\\"), "C:\\Zelvar\\");
  EXPECT_EQ(ansi::StripTrailingBackslash("C:\\"), "C:");
  EXPECT_EQ(ansi::StripTrailingBackslash("\\"), "");
  EXPECT_EQ(ansi::StripTrailingBackslash("C:\\Zelvar"), "C:\\Zelvar");
  EXPECT_EQ(ansi::StripTrailingBackslash(""), "");
  EXPECT_EQ(ansi::StripTrailingBackslash("D:\\新建\\"), "D:\\新建");
}

TEST(AnsiStripTrailingBackslash, KeepsTheSecondByteOfADoubleByteCharacter) {
  // "D:\昞" and "D:\a乗": the folder names end in a character whose second byte is 0x5C.
  EXPECT_EQ(ansi::StripTrailingBackslash("D:\\\x95\x5C"sv), "D:\\\x95\x5C"sv);
  EXPECT_EQ(ansi::StripTrailingBackslash("D:\\a\x81\x5C"sv), "D:\\a\x81\x5C"sv);
  // A separator after such a character goes; the character stays whole.
  EXPECT_EQ(ansi::StripTrailingBackslash("D:\\\x95\x5C\\"sv), "D:\\\x95\x5C"sv);
  // A run of double-byte characters decides from the start: here the last 0x5C stands alone.
  EXPECT_EQ(ansi::StripTrailingBackslash("\xB0\x81\x5C"sv), "\xB0\x81"sv);
}

TEST(AnsiStripTrailingBackslash, SingleByteCodePageRemovesAny0x5C) {
  CodePageScope westernEurope(1252);
  EXPECT_EQ(ansi::StripTrailingBackslash("D:\\\x95\x5C"sv), "D:\\\x95"sv);
}

// ---- Comparing names -------------------------------------------------------------------

TEST(AnsiCompareNoCase, NamesEqualWithoutRegardToCase) {
  EXPECT_EQ(ansi::CompareNoCase("Software\\Autodesk", "SOFTWARE\\autodesk"), 0);
  EXPECT_TRUE(ansi::EqualsNoCase("ACAD-8001:804", "acad-8001:804"));
  EXPECT_TRUE(ansi::EqualsNoCase("\xA3\xE1\xA6\xC1\xA7\xD7"sv, "\xA3\xC1\xA6\xA1\xA7\xA7"sv));
  EXPECT_TRUE(ansi::EqualsNoCase("Zelvar批打印软件", "ZELVAR批打印软件"));
  EXPECT_TRUE(ansi::EqualsNoCase("", ""));
  EXPECT_FALSE(ansi::EqualsNoCase("abc", "abd"));
  EXPECT_FALSE(ansi::EqualsNoCase("abc", "ab"));
  EXPECT_FALSE(ansi::EqualsNoCase("\xB0\x61"sv, "\xB0\x41"sv));  // 癮 is not 癆
  EXPECT_FALSE(ansi::EqualsNoCase("a\0b"sv, "a"sv));
}

TEST(AnsiCompareNoCase, OrdersByUpperCasedBytes) {
  EXPECT_LT(ansi::CompareNoCase("ACAD-8001:409", "acad-8001:804"), 0);
  EXPECT_GT(ansi::CompareNoCase("acad-8001:804", "ACAD-8001:409"), 0);
  EXPECT_LT(ansi::CompareNoCase("R17", "r17.1"), 0);
  EXPECT_LT(ansi::CompareNoCase("", "a"), 0);
  // Upper-cased 'z' is 0x5A and sorts before '_' (0x5F); bytes from 0x80 on sort last.
  EXPECT_LT(ansi::CompareNoCase("z", "_"), 0);
  EXPECT_LT(ansi::CompareNoCase("z", "\x81\x40"sv), 0);
  EXPECT_GT(ansi::CompareNoCase("\xFF", "\x7F"), 0);
}

TEST(AnsiCompareNoCase, AgreesWithComparingUpperCasedCopiesOnRandomText) {
  // Bytes chosen to hit lead bytes, letter trail bytes, backslashes, NULs and cased letters.
  const char alphabet[] = {'a', 'A', 'z', '\\', '_', '\0', '\x81', '\xA3', '\xE1', '\xC1',
                           '\xA7', '\xD7', '\xB0', '\x61', '\x41', '\xFE', '\xFF', '\x80'};
  std::mt19937 random(936);
  std::uniform_int_distribution<std::size_t> pick(0, sizeof alphabet - 1);
  std::uniform_int_distribution<int> length(0, 6);
  std::vector<std::string> names;
  for (int i = 0; i < 400; ++i) {
    std::string name;
    for (int n = length(random); n > 0; --n) name += alphabet[pick(random)];
    names.push_back(name);
  }
  for (const auto& a : names) {
    for (const auto& b : names) {
      // std::string compares its chars as unsigned bytes.
      const int expected = Sign(ansi::ToUpper(a).compare(ansi::ToUpper(b)));
      ASSERT_EQ(Sign(ansi::CompareNoCase(a, b)), expected);
      ASSERT_EQ(ansi::EqualsNoCase(a, b), expected == 0);
    }
  }
}

TEST(AnsiCompareNoCase, SortsRegistryKeyNamesConsistently) {
  std::vector<std::string> keys = {"acad-8001:804", "ACAD-8001:409", "R18.0", "r17.2",
                                   "Zelvar批打印软件", "ACAD-D001:409", "\xA3\xE1", "\xA3\xC2"};
  std::sort(keys.begin(), keys.end(),
            [](const std::string& a, const std::string& b) { return ansi::CompareNoCase(a, b) < 0; });
  const std::vector<std::string> expected = {"ACAD-8001:409", "acad-8001:804", "ACAD-D001:409",
                                             "r17.2", "R18.0", "Zelvar批打印软件", "\xA3\xE1",
                                             "\xA3\xC2"};
  EXPECT_EQ(keys, expected);
}

TEST(AnsiCompareNoCase, SingleByteCodePageFoldsOnlyAsciiLetters) {
  CodePageScope westernEurope(1252);
  EXPECT_TRUE(ansi::EqualsNoCase("\xB0\x61"sv, "\xB0\x41"sv));
  EXPECT_FALSE(ansi::EqualsNoCase("\xA3\xE1"sv, "\xA3\xC1"sv));
  EXPECT_FALSE(ansi::EqualsNoCase("\xE0"sv, "\xC0"sv));
}

}  // namespace
