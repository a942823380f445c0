#include "ui/logic/file_title.h"

#include <gtest/gtest.h>

#include "platform/ansi_text.h"

namespace {

TEST(FileTitleTest, DropsFolderAndExtensionAndKeepsDoubleByteNamesWhole) {
  ansi::SetActiveCodePage(ansi::kCodePage936);
  struct Case {
    const char* path;
    const char* title;
  };
  // 0x81 0x5C is one double-byte character whose second byte is a backslash.
  const Case cases[] = {
      {"D:\\Setup\\SetUp.exe", "SetUp"},
      {"SetUp.exe", "SetUp"},
      {"C:\\Tools\\\x81\x5CSetUp.exe", "\x81\x5CSetUp"},
      {"C:\\Tools\\SetUp\x81\x5C.exe", "SetUp\x81\x5C"},
      {"C:\\Setup.v2\\SetUp", "SetUp"},
      {"C:\\Tools\\.exe", ".exe"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ui::FileTitle(c.path), c.title) << c.path;
  }
}

}  // namespace
