// The lead bytes that the text helpers know for a code page (used by the tests and the
// in-memory platform) against those Windows reports, and the programs' start-up setting.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/ansi_code_page.h"
#include "platform/ansi_text.h"

namespace {

TEST(AnsiCodePageOnWine, KnownLeadBytesAreThoseWindowsReports) {
  struct Case {
    unsigned codePage;
    unsigned maxCharSize;
  };
  // 65001 is the ANSI code page of a Windows set to use UTF-8 for every language: no lead
  // bytes in the double-byte sense, and no trail byte is ever 0x5C.
  const Case cases[] = {{932, 2}, {936, 2}, {949, 2}, {950, 2}, {1252, 1}, {65001, 4}};
  for (const auto& [codePage, maxCharSize] : cases) {
    const ansi::LeadByteTable known = ansi::KnownLeadBytes(codePage);
    for (unsigned byte = 0; byte < known.size(); ++byte) {
      ASSERT_EQ(known[byte], IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)) != FALSE)
          << "code page " << codePage << ", byte " << byte;
    }
    // GetCPInfo's lead-byte ranges say the same, as far as it gives them.
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(codePage, &info));
    for (unsigned k = 0; k + 1 < MAX_LEADBYTES && info.LeadByte[k] != 0; k += 2) {
      for (unsigned byte = info.LeadByte[k]; byte <= info.LeadByte[k + 1]; ++byte) {
        EXPECT_TRUE(known[byte]) << "code page " << codePage << ", byte " << byte;
      }
    }
    EXPECT_EQ(info.MaxCharSize, maxCharSize) << "code page " << codePage;
  }
}

TEST(AnsiCodePageOnWine, StartUpFollowsTheSystemCodePageAndItsLeadBytes) {
  ASSERT_TRUE(app::UseAnsiCodePage());
  EXPECT_EQ(ansi::ActiveCodePage(), GetACP());
  for (unsigned byte = 0; byte <= 0xFF; ++byte) {
    ASSERT_EQ(ansi::IsLeadByte(static_cast<unsigned char>(byte)),
              IsDBCSLeadByte(static_cast<BYTE>(byte)) != FALSE)
        << "byte " << byte;
  }
  ansi::SetActiveCodePage(ansi::kCodePage936);
}

}  // namespace
