#include <gtest/gtest.h>

#include <string>

#include "platform/memory/memory_file_system_paths.h"

namespace platform::paths {
namespace {

// Resolves against the current folder C:\Work\Sub and gives the full path, or "<none>".
std::string Full(std::string_view text) {
  const WindowsPath current{"C:", {"Work", "Sub"}, false};
  WindowsPath resolved;
  if (!ResolveWindowsPath(text, current, resolved)) return "<none>";
  return WindowsPathText(resolved) + (resolved.endsWithSeparator ? " (ends in \\)" : "");
}

TEST(WindowsPathRules, ResolveAsWindowsDoes) {
  EXPECT_EQ(Full("D:\\Data\\a.txt"), "D:\\Data\\a.txt");
  EXPECT_EQ(Full("a.txt"), "C:\\Work\\Sub\\a.txt");
  EXPECT_EQ(Full("..\\a.txt"), "C:\\Work\\a.txt");
  EXPECT_EQ(Full("\\Zelvar"), "C:\\Zelvar");
  EXPECT_EQ(Full("c:x"), "C:\\Work\\Sub\\x") << "relative to the current folder of C:";
  EXPECT_EQ(Full("D:x"), "D:\\x") << "another drive starts at its root";
  EXPECT_EQ(Full("C:\\a\\\\b//c/"), "C:\\a\\b\\c (ends in \\)");
  EXPECT_EQ(Full("C:\\..\\..\\a\\.\\b"), "C:\\a\\b");
  EXPECT_EQ(Full("C:\\"), "C:\\ (ends in \\)");
  EXPECT_EQ(Full("C:\\a\\setup.ini. ."), "C:\\a\\setup.ini");
  EXPECT_EQ(Full("\\\\Server\\Share\\a"), "\\\\Server\\Share\\a");
  EXPECT_EQ(Full("//server/share"), "\\\\server\\share\\");
  EXPECT_EQ(Full("\\\\server"), "<none>");
  EXPECT_EQ(Full("\\\\server\\"), "<none>");
  EXPECT_EQ(Full(""), "<none>");
}

TEST(WindowsPathRules, ATrailByte5CIsNoSeparator) {
  // "乗" is 81 5C: the folder 乗俓 holds one name, not two halves.
  WindowsPath resolved;
  ASSERT_TRUE(ResolveWindowsPath("C:\\乗俓\\乗.txt", {"C:", {}, false}, resolved));
  EXPECT_EQ(resolved.names, (std::vector<std::string>{"乗俓", "乗.txt"}));
  ASSERT_TRUE(ResolveWindowsPath("C:\\乗", {"C:", {}, false}, resolved));
  EXPECT_FALSE(resolved.endsWithSeparator);
}

TEST(WindowsPathRules, PlacesCompareWithoutRegardToCase) {
  const WindowsPath folder{"C:", {"Program Files", "ＡutoCAD"}, false};
  const WindowsPath below{"c:", {"PROGRAM FILES", "ａutocad", "Fonts"}, false};
  EXPECT_TRUE(IsAtOrBelow(below, folder));
  EXPECT_TRUE(IsAtOrBelow(folder, folder));
  EXPECT_FALSE(IsAtOrBelow(folder, below));
  EXPECT_FALSE(IsAtOrBelow(WindowsPath{"C:", {"Program Files", "AutoCAD 2010"}, false}, folder));
  EXPECT_FALSE(SamePlace(below, folder));
  EXPECT_FALSE(IsAtOrBelow(WindowsPath{"D:", {"Program Files", "AutoCAD"}, false}, folder));
}

TEST(WindowsPathRules, PatternsMatchAsFindFirstFileDoes) {
  EXPECT_TRUE(NameMatchesPattern("*.*", "noext"));
  EXPECT_TRUE(NameMatchesPattern("*.*", "a.b.c"));
  EXPECT_TRUE(NameMatchesPattern("*", "."));
  EXPECT_TRUE(NameMatchesPattern("*.TXT", "readme.txt"));
  EXPECT_FALSE(NameMatchesPattern("*.txt", "readme.txt.bak"));
  EXPECT_TRUE(NameMatchesPattern("setup.*", "SETUP"));
  EXPECT_TRUE(NameMatchesPattern("s?tup.ini", "Setup.ini"));
  EXPECT_FALSE(NameMatchesPattern("s?tup.ini", "stup.ini"));
  EXPECT_TRUE(NameMatchesPattern("?.txt", "字.txt")) << "? is one character, not one byte";
  EXPECT_TRUE(NameMatchesPattern("ｚｅｌｖａｒ*", "Ｚｅｌｖａｒ批打印"));
  EXPECT_FALSE(NameMatchesPattern("*.dll", "*.dl"));
}

TEST(WindowsPathRules, NamesRefuseTheCharactersWindowsRefuses) {
  for (const char* bad : {"a?b", "a*", "a:b", "a<b", "a>b", "a|b", "a\"b", "a\tb", ""}) {
    EXPECT_FALSE(IsValidFileName(bad)) << bad;
  }
  EXPECT_TRUE(IsValidFileName("亅"));  // 81 7C: the bar byte belongs to the character
  EXPECT_TRUE(IsValidFileName("Zelvar批打印软件 (2).txt"));
  EXPECT_TRUE(HasWildcard("*.*"));
  EXPECT_FALSE(HasWildcard("乗俓"));
}

}  // namespace
}  // namespace platform::paths
