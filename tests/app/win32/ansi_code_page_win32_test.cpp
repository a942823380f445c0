// The lead bytes that the text helpers know for a code page (used by the tests and the
// in-memory platform) against those Windows reports, and the programs' start-up setting.

#include <windows.h>

#include <gtest/gtest.h>

#include "app/ansi_code_page.h"
#include "platform/ansi_text.h"

namespace {

TEST(AnsiCodePageOnWine, KnownLeadBytesAreThoseWindowsReports) {
  for (const unsigned codePage : {932u, 936u, 949u, 950u, 1252u}) {
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
    EXPECT_EQ(info.MaxCharSize, codePage == 1252 ? 1u : 2u) << "code page " << codePage;
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
