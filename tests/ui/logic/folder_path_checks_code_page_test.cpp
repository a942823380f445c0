// The folder chooser's path check on machines whose ANSI code page is 932 or 950: characters
// whose second byte is 0x5C or 0x7C belong to their folder name.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "ui/logic/folder_path_checks.h"

namespace {

TEST(CheckFolderPathCodePage, TrailBytes0x5CAnd0x7CStayInTheirFolderNames) {
  struct Case {
    unsigned codePage;
    std::string path;
    int result;
    std::vector<std::string> created;  // when the check passes
  };
  const Case cases[] = {
      // 功 (A5 5C) and 錶 (BF 7C) in 950; ソ (83 5C) and 表 (95 5C) in 932.
      {950, "C:\\\xA5\x5C\\sub", ui::FolderOk, {"+ C:\\\xA5\x5C", "+ C:\\\xA5\x5C\\sub"}},
      {950, "C:\\a\xBF\x7C", ui::FolderOk, {"+ C:\\a\xBF\x7C"}},
      {932, "C:\\\x83\x5C\x95\x5C", ui::FolderOk, {"+ C:\\\x83\x5C\x95\x5C"}},
      {932, "C:\\\x95\x5C\\", ui::FolderInvalid, {}},
      // Half-width katakana (B1) is one byte in 932: the 0x5C after it is a separator.
      {932, "C:\\\xB1\x5C", ui::FolderInvalid, {}},
      {932, "C:\\\xB1|", ui::FolderInvalid, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ansi::SetActiveCodePage(c.codePage);
    platform::MemoryPlatform memory;
    EXPECT_EQ(ui::CheckFolderPath(memory.files, c.path.c_str(), true), c.result);
    if (c.result != ui::FolderOk) continue;  // the chooser creates only what passed the check
    const platform::FileTree before = memory.files.Snapshot();
    EXPECT_EQ(ui::CheckFolderPath(memory.files, c.path.c_str(), false), ui::FolderOk);
    EXPECT_EQ(platform::DescribeChanges(before, memory.files.Snapshot()), c.created);
  }
  ansi::SetActiveCodePage(ansi::kCodePage936);
}

}  // namespace
