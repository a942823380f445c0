#include "ui/logic/file_title.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ansi_text.h"

namespace {

TEST(FileTitleTest, DropsFolderAndExtensionAndKeepsDoubleByteNamesWholeInTheMachinesCodePage) {
  struct Case {
    unsigned codePage;
    std::string path, title;
  };
  const Case cases[] = {
      {936, "D:\\Setup\\SetUp.exe", "SetUp"},
      {936, "SetUp.exe", "SetUp"},
      {936, "D:\\Setup\\Zelvar.SetUp.exe", "Zelvar.SetUp"},
      {936, "C:\\Setup.v2\\SetUp", "SetUp"},
      {936, "C:\\Tools\\.exe", ".exe"},
      // File names with 乗 (936), 功 (950), 表 (932): the 0x5C belongs to the name.
      {936, "C:\\Tools\\\x81\x5CSetUp.exe", "\x81\x5CSetUp"},
      {936, "D:\\Setup\\SetUp\x81\x5C.exe", "SetUp\x81\x5C"},
      {950, "D:\\\xA5\x5C\\\xA5\x5C.exe", "\xA5\x5C"},
      {932, "D:\\Setup\\\x95\x5C.exe", "\x95\x5C"},
      // The same bytes in code pages where 0x5C after them is a separator.
      {932, "D:\\Setup\\\xB1\x5Cx.exe", "x"},
      {1252, "D:\\Setup\\\xA5\x5Cx.exe", "x"},
  };
  for (const auto& [codePage, path, title] : cases) {
    SCOPED_TRACE(path);
    ansi::SetActiveCodePage(codePage);
    EXPECT_EQ(ui::FileTitle(path), title);
  }
  ansi::SetActiveCodePage(ansi::kCodePage936);
}

}  // namespace
