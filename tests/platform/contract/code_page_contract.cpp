// Code-page conversion: the native build (iconv) and the Windows build (Windows' functions,
// under Wine here) give the same answers for everything the program relies on.

#include <gtest/gtest.h>

#include <string>

#include "platform/code_page.h"

namespace contract {
namespace {

using code_page::FromUtf16;
using code_page::ToUtf16;
constexpr unsigned k936 = code_page::kChineseSimplified;
constexpr unsigned k1252 = code_page::kWesternEurope;

TEST(CodePageContract, TextTheCodePageCarriesConvertsBothWaysUnchanged) {
  const struct {
    unsigned codePage;
    std::u16string wide;
    std::string narrow;
  } cases[] = {
      // Narrow literals are code page 936 bytes; 乗 and 亅 end in 0x5C and 0x7C.
      {k936, u"C:\\Zelvar\\Zelvar批打印软件", "C:\\Zelvar\\Zelvar批打印软件"},
      {k936, u"D:\\乗亅\\ｄ", "D:\\乗亅\\ｄ"},
      {k936, u"E:\\かな\\カナ", "E:\\かな\\カナ"},  // code page 936 holds the kana
      {k936, u"дé", "дé"},
      {k1252, u"C:\\Café\\Æble", std::string("C:\\Caf\xE9\\\xC6" "ble")},
      {k1252, u"\u20AC\u0081", "\x80\x81"},  // 0x81 is undefined and stands for U+0081
      {k1252, std::u16string(u"a\0b", 3), std::string("a\0b", 3)},
      {k936, u"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromUtf16(c.codePage, c.wide), c.narrow) << c.codePage;
    EXPECT_EQ(ToUtf16(c.codePage, c.narrow), c.wide) << c.codePage;
  }
}

TEST(CodePageContract, EveryUnitTheCodePageLacksBecomesOneQuestionMark) {
  const struct {
    unsigned codePage;
    std::u16string wide;
    std::string narrow;
  } cases[] = {
      {k936, u"F:\\한국어", "F:\\???"},
      {k936, u"a\U0001F600b", "a??b"},  // a surrogate pair is two units
      {k936, u"\u0151", "?"},
      {k1252, u"G:\\中文\\文件", "G:\\??\\??"},
      {k1252, u"\U0001F600", "??"},
      {k1252, u"한", "?"},
      {k1252, u"\xD800x", "?x"},  // a lone surrogate
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FromUtf16(c.codePage, c.wide), c.narrow) << c.codePage;
  }
}

TEST(CodePageContract, EveryCharacterTheCodePageDoesNotDefineBecomesOneQuestionMark) {
  const struct {
    unsigned codePage;
    std::string narrow;
    std::u16string wide;
  } cases[] = {
      {949, "C:\\\xA2\xE8\xB0\xA1", u"C:\\?\uAC00"},  // A2 E8 is not in 949; B0 A1 is 가
      {k936, "a\xD6\xD0\x81", u"a\u4E2D?"},  // a lead byte with nothing after it
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf16(c.codePage, c.narrow), c.wide) << c.codePage;
  }
}

TEST(CodePageContract, RegistryBytesAreLittleEndianUtf16) {
  EXPECT_EQ(code_page::Utf16Bytes(u"A批"), std::string("A\0\x79\x62", 4));
  EXPECT_EQ(code_page::Utf16FromBytes(std::string("A\0\x79\x62\x01", 5)), u"A批")
      << "an odd last byte is dropped";
}

}  // namespace
}  // namespace contract
