#include "ui/logic/folder_path_checks.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "install/closing_notice.h"
#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"

namespace {

using namespace std::string_view_literals;
using platform::FileTree;
using ::testing::ElementsAre;
using ui::FolderDeclined;
using ui::FolderInvalid;
using ui::FolderNotCreated;
using ui::FolderOk;

// "昞" (0x95 0x5C) and "晐" (0x95 0x7C): Chinese characters whose second byte is a backslash
// or a vertical bar.
constexpr const char* kTrailBackslash = "\x95\x5C";
constexpr const char* kTrailBar = "\x95\x7C";

constexpr platform::WindowRef kChooserWindow = 0x4321;
constexpr const char* kAppTitle = "SetUp";

std::string InvalidMessage(const std::string& path) {
  return "The folder:\n\n" + path + "\n\nis invalid. Please reenter.";
}
std::string NotCreatedMessage(const std::string& path) {
  return "The folder:\n\n" + path + "\n\ncan not be created. Please double check.";
}
std::string QuestionMessage(const std::string& path) {
  return "The folder:\n\n" + path + "\n\ndoes not exist. Do you want the folder to be created?";
}

// A path of exactly `length` bytes below C:\, made of folder names of at most 8 letters.
std::string PathOfLength(std::size_t length) {
  std::string path = "C:\\";
  while (path.size() < length) {
    if (path.size() > 3 && (path.size() - 3) % 9 == 8) {
      path += '\\';
    } else {
      path += 'd';
    }
  }
  if (path.back() == '\\') path.back() = 'e';
  return path;
}

class SingleByteCodePage {
 public:
  SingleByteCodePage() { ansi::SetActiveCodePage(1252); }
  ~SingleByteCodePage() { ansi::SetActiveCodePage(ansi::kCodePage936); }
  SingleByteCodePage(const SingleByteCodePage&) = delete;
  SingleByteCodePage& operator=(const SingleByteCodePage&) = delete;
};

// ---- One folder name ---------------------------------------------------------------------

TEST(IsValidFolderName, RefusesEmptyNamesAndSpacesTabsAndDotsAtEitherEnd) {
  EXPECT_EQ(ui::IsValidFolderName(""), 0);
  EXPECT_EQ(ui::IsValidFolderName(std::string_view()), 0);
  for (const char* name : {" data", "data ", "\tdata", "data\t", ".data", "data.", ".", "..", " "}) {
    EXPECT_EQ(ui::IsValidFolderName(name), 0) << '"' << name << '"';
  }
  for (const char* name : {"a.b", "my data", "a\tb", "Zelvar批打印软件", "x", "1"}) {
    EXPECT_EQ(ui::IsValidFolderName(name), 1) << '"' << name << '"';
  }
}

TEST(IsValidFolderName, RefusesEveryCharacterWindowsForbidsInNamesAndNothingElse) {
  const std::string forbidden = "\"*/:<>?\\|";
  for (unsigned byte = 1; byte < 0x80; ++byte) {
    const std::string name = std::string("a") + static_cast<char>(byte) + "b";
    const bool refused = forbidden.find(static_cast<char>(byte)) != std::string::npos;
    EXPECT_EQ(ui::IsValidFolderName(name), refused ? 0 : 1) << "byte " << byte;
  }
  // Control bytes are left to the file system.
  EXPECT_EQ(ui::IsValidFolderName("a\x01"), 1);
}

TEST(IsValidFolderName, TakesChineseCharactersEndingIn0x5COr0x7CAsWholeCharacters) {
  EXPECT_EQ(ui::IsValidFolderName(kTrailBackslash), 1);
  EXPECT_EQ(ui::IsValidFolderName(kTrailBar), 1);
  EXPECT_EQ(ui::IsValidFolderName(std::string("新") + kTrailBackslash + "建" + kTrailBar), 1);
  // A bar of its own after such a character is still refused.
  EXPECT_EQ(ui::IsValidFolderName(std::string(kTrailBackslash) + "|"), 0);
  // A lead byte at the end of the name is a character of its own.
  EXPECT_EQ(ui::IsValidFolderName("a\x95"), 1);
}

TEST(IsValidFolderName, AMalformedCharacterCannotHideAColonOrAWildcard) {
  // 0x3A and 0x2A are never second bytes of a code page 936 character; the file system would
  // take them as a stream separator or a wildcard.
  EXPECT_EQ(ui::IsValidFolderName("a\x81:b"sv), 0);
  EXPECT_EQ(ui::IsValidFolderName("a\x81*"sv), 0);
  EXPECT_EQ(ui::IsValidFolderName("\x81?"sv), 0);
}

TEST(IsValidFolderName, SingleByteCodePageRefusesEvery0x5CAnd0x7C) {
  SingleByteCodePage westernEurope;
  EXPECT_EQ(ui::IsValidFolderName(kTrailBackslash), 0);
  EXPECT_EQ(ui::IsValidFolderName(kTrailBar), 0);
  EXPECT_EQ(ui::IsValidFolderName("\xE9t\xE9"), 1);
}

// ---- The form of a path --------------------------------------------------------------------

class CheckFolderPathTest : public ::testing::Test {
 protected:
  int CheckOnly(const char* path) { return ui::CheckFolderPath(memory.files, path, true); }
  int Create(const std::string& path) {
    return ui::CheckFolderPath(memory.files, path.c_str(), false);
  }
  bool Exists(const std::string& path) const { return memory.files.Exists(path); }

  platform::MemoryPlatform memory;
};

TEST_F(CheckFolderPathTest, AcceptsOnlyALetterAColonAndABackslashAtTheStart) {
  for (const char* path : {"C:\\", "c:\\", "z:\\data", "C:\\data", "C:\\a.b", "C:\\data\\sub",
                           "D:\\Tools", "C:\\Zelvar批打印软件"}) {
    EXPECT_EQ(CheckOnly(path), FolderOk) << path;
  }
  for (const char* path : {"", "C", "C:", "C:data", "C:/data", "C:/", "1:\\data", "@:\\data",
                           "\\\\server\\share", "\\data", "data", "CC:\\data", " C:\\data"}) {
    EXPECT_EQ(CheckOnly(path), FolderInvalid) << path;
  }
  EXPECT_EQ(ui::CheckFolderPath(memory.files, nullptr, true), FolderInvalid);
  EXPECT_EQ(ui::CheckFolderPath(memory.files, nullptr, false), FolderInvalid);
}

TEST_F(CheckFolderPathTest, RefusesTrailingAndDoubledBackslashesAndBadNamesAnywhere) {
  for (const char* path :
       {"C:\\data\\", "C:\\data\\\\sub", "C:\\\\data", "C:\\\\", "C:\\ data", "C:\\data.",
        "C:\\.data", "C:\\data\\sub ", "C:\\data\\.\\sub", "C:\\data\\..\\sub", "C:\\a?b",
        "C:\\a:b", "C:\\data\\a*", "C:\\a|b\\c", "C:\\data/sub"}) {
    EXPECT_EQ(CheckOnly(path), FolderInvalid) << path;
  }
}

TEST_F(CheckFolderPathTest, CheckingOnlyTouchesNothing) {
  const FileTree before = memory.files.Snapshot();
  EXPECT_EQ(CheckOnly("C:\\new1\\new2"), FolderOk);
  EXPECT_EQ(CheckOnly("Q:\\"), FolderOk) << "the form alone is checked";
  EXPECT_EQ(CheckOnly("Q:\\new"), FolderOk);
  EXPECT_EQ(memory.files.Snapshot(), before);
  EXPECT_EQ(memory.files.FolderCreationAttempts(), 0u);
}

TEST_F(CheckFolderPathTest, Accepts259BytesAndRefusesLongerPathsWithoutCreatingAnything) {
  const std::string longest = PathOfLength(ui::kMaxFolderPathLength);
  ASSERT_EQ(longest.size(), 259u);
  EXPECT_EQ(ui::CheckFolderPath(memory.files, longest.c_str(), true), FolderOk);

  // Cut to 259 bytes this would be a valid path: it must not be created as that one.
  const std::string tooLong = PathOfLength(260);
  const FileTree before = memory.files.Snapshot();
  EXPECT_EQ(ui::CheckFolderPath(memory.files, tooLong.c_str(), true), FolderInvalid);
  EXPECT_EQ(Create(tooLong), FolderInvalid);
  EXPECT_EQ(Create(tooLong + "\\more\\folders"), FolderInvalid);
  EXPECT_EQ(memory.files.Snapshot(), before);

  // Windows creates no folder of 248 characters or more.
  EXPECT_EQ(Create(longest), FolderNotCreated);
  EXPECT_FALSE(Exists(longest));
  EXPECT_EQ(Create(PathOfLength(247)), FolderOk);
  EXPECT_TRUE(Exists(PathOfLength(247)));
}

TEST_F(CheckFolderPathTest, CreatesEveryMissingLevelFromTheTop) {
  ASSERT_TRUE(memory.files.AddFolder("C:\\Existing"));
  const FileTree before = memory.files.Snapshot();
  EXPECT_EQ(Create("c:\\existing\\new1\\新建"), FolderOk);
  EXPECT_THAT(platform::DescribeChanges(before, memory.files.Snapshot()),
              ElementsAre("+ C:\\Existing\\new1", "+ C:\\Existing\\new1\\新建"));
  // Running again over folders that are all there is fine.
  EXPECT_EQ(Create("C:\\Existing\\new1\\新建"), FolderOk);
}

TEST_F(CheckFolderPathTest, ADriveRootIsOnlyTestedForExistence) {
  EXPECT_EQ(Create("C:\\"), FolderOk);
  EXPECT_EQ(Create("Q:\\"), FolderNotCreated);
  EXPECT_EQ(Create("Q:\\data"), FolderNotCreated);
  memory.files.AddDrive('Q');
  EXPECT_EQ(Create("q:\\"), FolderOk);
}

TEST_F(CheckFolderPathTest, FolderThatCannotBeMadeIsNotCreatedAndTheLevelsAboveItStay) {
  memory.files.DenyWrites("C:\\Top\\Locked");
  EXPECT_EQ(Create("C:\\Top\\Locked\\Inner"), FolderNotCreated);
  EXPECT_TRUE(Exists("C:\\Top"));
  EXPECT_FALSE(Exists("C:\\Top\\Locked"));

  // A file in the way: it passes as existing, the folder below it cannot be made.
  ASSERT_TRUE(memory.files.AddFile("C:\\notes.txt", "x"));
  EXPECT_EQ(Create("C:\\notes.txt"), FolderOk);
  EXPECT_EQ(Create("C:\\notes.txt\\sub"), FolderNotCreated);
}

TEST_F(CheckFolderPathTest, ChineseCharactersEndingIn0x5CAreNeverCutIntoFolders) {
  // "C:\昞\晐\sub": three folders, the first two named by one character each.
  const std::string first = std::string("C:\\") + kTrailBackslash;
  const std::string second = first + "\\" + kTrailBar;
  const std::string third = second + "\\sub";
  EXPECT_EQ(ui::CheckFolderPath(memory.files, third.c_str(), true), FolderOk);

  const FileTree before = memory.files.Snapshot();
  EXPECT_EQ(Create(third), FolderOk);
  EXPECT_THAT(platform::DescribeChanges(before, memory.files.Snapshot()),
              ElementsAre("+ " + first, "+ " + second, "+ " + third));

  // A name that ends in such a character followed by a separator of its own is a
  // trailing backslash, and so is refused.
  EXPECT_EQ(Create(first + "\\"), FolderInvalid);
}

TEST_F(CheckFolderPathTest, SingleByteCodePageSplitsAtEvery0x5C) {
  SingleByteCodePage westernEurope;
  // "C:\\x95\" then ends in a separator: refused as a trailing backslash.
  EXPECT_EQ(CheckOnly((std::string("C:\\") + kTrailBackslash).c_str()), FolderInvalid);
  EXPECT_EQ(CheckOnly((std::string("C:\\") + kTrailBackslash + "x").c_str()), FolderOk);
}

// ---- Making sure the folder exists, with the user's say -------------------------------------

class MakeSureFolderExistsTest : public ::testing::Test {
 protected:
  int Run(const std::string& path) {
    return ui::MakeSureFolderExists(memory.files, messages, path.c_str());
  }
  const std::vector<platform::ShownMessageBox>& Shown() const { return memory.messages.Shown(); }

  platform::MemoryPlatform memory;
  ui::FolderMessages messages{memory.messages, kChooserWindow, kAppTitle};
};

TEST_F(MakeSureFolderExistsTest, WhatExistsPassesWithoutAQuestion) {
  memory.files.AddDrive('D');
  ASSERT_TRUE(memory.files.AddFolder("D:\\Tools"));
  ASSERT_TRUE(memory.files.AddFile("C:\\readme.txt", "x"));
  EXPECT_EQ(Run("D:\\Tools"), FolderOk);
  EXPECT_EQ(Run("d:\\tools"), FolderOk);
  EXPECT_EQ(Run("C:\\"), FolderOk);
  EXPECT_EQ(Run("C:\\readme.txt"), FolderOk) << "a file of that name counts as existing";
  EXPECT_TRUE(Shown().empty());
}

TEST_F(MakeSureFolderExistsTest, YesCreatesTheWholePathAfterOneQuestion) {
  memory.messages.QueueAnswer(platform::mb::kIdYes);
  const FileTree before = memory.files.Snapshot();
  EXPECT_EQ(Run("C:\\new1\\new2"), FolderOk);

  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, QuestionMessage("C:\\new1\\new2"));
  EXPECT_EQ(Shown()[0].caption, kAppTitle);
  EXPECT_EQ(Shown()[0].owner, kChooserWindow);
  EXPECT_EQ(Shown()[0].flags, 0x24u);
  EXPECT_THAT(platform::DescribeChanges(before, memory.files.Snapshot()),
              ElementsAre("+ C:\\new1", "+ C:\\new1\\new2"));
}

// As the installation's own: a folder made with the drive's entries could be renamed by any
// user, and one of theirs put in its place.
TEST_F(MakeSureFolderExistsTest, TheFoldersItMakesAreClosedAndOneLeftOpenIsNamed) {
  ASSERT_TRUE(memory.files.AddFolder("C:\\old"));
  memory.files.SetWriteHook([](const std::string& source, const std::string& destination) {
    return source != platform::MemoryFileSystem::kFolderProtection ||
           destination != "C:\\old\\a\\b";
  });
  memory.messages.QueueAnswer(platform::mb::kIdYes);
  EXPECT_EQ(ui::MakeSureFolderExists(memory.files, messages, "C:\\old\\a\\b",
                                     platform::FolderAccess::MachineWide),
            FolderOk);
  EXPECT_EQ(memory.files.FolderAccessOf("C:\\old"), platform::FolderAccess::Inherited);
  EXPECT_EQ(memory.files.FolderAccessOf("C:\\old\\a"), platform::FolderAccess::MachineWide);
  ASSERT_EQ(Shown().size(), 2u);
  const std::string denied = memory.files.ErrorText(platform::fs_error::kAccessDenied);
  EXPECT_EQ(Shown()[1].text, install::FolderLeftOpenText("C:\\old\\a\\b", denied));
}

TEST_F(MakeSureFolderExistsTest, NoCreatesNothingAndSaysNothingMore) {
  memory.messages.QueueAnswer(platform::mb::kIdNo);
  const FileTree before = memory.files.Snapshot();
  EXPECT_EQ(Run("C:\\new1\\new2"), FolderDeclined);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, QuestionMessage("C:\\new1\\new2"));
  EXPECT_EQ(memory.files.Snapshot(), before);
  EXPECT_EQ(memory.files.FolderCreationAttempts(), 0u);
}

TEST_F(MakeSureFolderExistsTest, AnInvalidPathIsReportedAndNothingIsAsked) {
  for (const std::string path : {"C:", "C:/data", "1:\\data", "\\\\server\\share",
                                 "C:\\data\\", "C:\\data\\\\sub", "C:\\ data", "C:\\a?b"}) {
    memory.messages.QueueAnswer(platform::mb::kIdOk);
    EXPECT_EQ(Run(path), FolderInvalid) << path;
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown().back().text, InvalidMessage(path));
    EXPECT_EQ(Shown().back().flags, 0x30u);
    EXPECT_EQ(Shown().back().caption, kAppTitle);
    EXPECT_EQ(Shown().back().owner, kChooserWindow);
  }
  EXPECT_EQ(Shown().size(), 8u) << "one message per path, no question";
  EXPECT_EQ(memory.files.FolderCreationAttempts(), 0u);
}

TEST_F(MakeSureFolderExistsTest, ATooLongPathIsReportedWholeAsInvalid) {
  const std::string tooLong = PathOfLength(300);
  const FileTree before = memory.files.Snapshot();
  EXPECT_EQ(Run(tooLong), FolderInvalid);
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, InvalidMessage(tooLong));
  EXPECT_EQ(memory.files.Snapshot(), before);
}

TEST_F(MakeSureFolderExistsTest, AMissingDriveIsAskedAboutAndThenCannotBeCreated) {
  for (const std::string path : {"Q:\\", "Q:\\data\\sub"}) {
    memory.messages.QueueAnswer(platform::mb::kIdYes);
    memory.messages.QueueAnswer(platform::mb::kIdOk);
    EXPECT_EQ(Run(path), FolderNotCreated) << path;
  }
  ASSERT_EQ(Shown().size(), 4u);
  EXPECT_EQ(Shown()[0].text, QuestionMessage("Q:\\"));
  EXPECT_EQ(Shown()[1].text, NotCreatedMessage("Q:\\"));
  EXPECT_EQ(Shown()[1].flags, 0x30u);
  EXPECT_EQ(Shown()[2].text, QuestionMessage("Q:\\data\\sub"));
  EXPECT_EQ(Shown()[3].text, NotCreatedMessage("Q:\\data\\sub"));
  EXPECT_EQ(memory.messages.UnscriptedCount(), 0u);
}

TEST_F(MakeSureFolderExistsTest, AFolderThatCannotBeMadeIsReportedAndTheLevelsAboveStay) {
  memory.files.DenyWrites("C:\\Apps\\Locked");
  memory.messages.QueueAnswer(platform::mb::kIdYes);
  memory.messages.QueueAnswer(platform::mb::kIdOk);
  EXPECT_EQ(Run("C:\\Apps\\Locked\\Zelvar"), FolderNotCreated);
  ASSERT_EQ(Shown().size(), 2u);
  EXPECT_EQ(Shown()[1].text, NotCreatedMessage("C:\\Apps\\Locked\\Zelvar"));
  EXPECT_TRUE(memory.files.Exists("C:\\Apps"));
  EXPECT_FALSE(memory.files.Exists("C:\\Apps\\Locked"));
}

TEST_F(MakeSureFolderExistsTest, AChineseFolderEndingIn0x5CIsCreatedWhole) {
  const std::string path = std::string("E:\\软件\\") + kTrailBackslash;
  memory.files.AddDrive('E');
  memory.messages.QueueAnswer(platform::mb::kIdYes);
  EXPECT_EQ(Run(path), FolderOk);
  EXPECT_TRUE(memory.files.Exists(path));
  ASSERT_EQ(Shown().size(), 1u);
  EXPECT_EQ(Shown()[0].text, QuestionMessage(path));
}

}  // namespace
