// Whole files and their streams: the setup's record and settings files are read and written
// whole, and a download's mark is taken off the files it copies.

#include <gmock/gmock.h>

#include <string>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

constexpr const char* kMark = "Zone.Identifier";
constexpr const char* kMarkText = "[ZoneTransfer]\r\nZoneId=3\r\n";

TEST_P(FileSystemContract, ReadWholeFileReadsAFileNoLongerThanItsLimit) {
  const std::string big(40000, 'x');  // more than one read of the Win32 side
  ASSERT_TRUE(subject->PutFile(In("big.txt"), big, attr::kArchive));
  std::string contents;
  EXPECT_TRUE(files().ReadWholeFile(In("big.txt").c_str(), big.size(), contents));
  EXPECT_EQ(contents, big);

  EXPECT_FALSE(files().ReadWholeFile(In("big.txt").c_str(), big.size() - 1, contents));
  EXPECT_EQ(files().LastError(), fs_error::kFileTooLarge);
  EXPECT_FALSE(files().ReadWholeFile(In("gone.txt").c_str(), big.size(), contents));
  EXPECT_EQ(files().LastError(), fs_error::kFileNotFound);
}

TEST_P(FileSystemContract, WriteWholeFileCreatesAndReplacesAndLeavesNothingBeside) {
  const std::string path = In("Zelvar.Ini");
  ASSERT_TRUE(files().WriteWholeFile(path.c_str(), "[Zelvar]\r\nA=1\r\n"));
  EXPECT_EQ(subject->ReadFile(path), "[Zelvar]\r\nA=1\r\n");
  ASSERT_TRUE(subject->PutFile(path + ".new", "a leftover longer than the contents", attr::kArchive));
  ASSERT_TRUE(files().WriteWholeFile(path.c_str(), "[Zelvar]\r\n"));
  EXPECT_EQ(subject->ReadFile(path), "[Zelvar]\r\n");
  EXPECT_THAT(ListNames(In("*")), ElementsAre(".", "..", "Zelvar.Ini"));
}

TEST_P(FileSystemContract, WriteWholeFileThatFailsLeavesThePlaceAsItWas) {
  ASSERT_TRUE(files().CreateFolder(In("Folder.ini").c_str()));
  ASSERT_TRUE(subject->PutFile(In("ReadOnly.ini"), "kept", attr::kReadOnly));
  for (const char* name : {"Folder.ini", "ReadOnly.ini"}) {
    SCOPED_TRACE(name);
    if (name[0] == 'R' && subject->Differences().readOnlyReplacedByMove) continue;
    EXPECT_FALSE(files().WriteWholeFile(In(name).c_str(), "[Zelvar]\r\n"));
    EXPECT_EQ(files().LastError(), fs_error::kAccessDenied);
  }
  EXPECT_EQ(KeptBits(AttributesOf("Folder.ini")), attr::kDirectory);
  EXPECT_EQ(subject->ReadFile(In("ReadOnly.ini")), "kept");
  EXPECT_THAT(ListNames(In("*")), ElementsAre(".", "..", "Folder.ini", "ReadOnly.ini"));
}

TEST_P(FileSystemContract, RemoveStreamTakesTheMarkAndKeepsTheFile) {
  ASSERT_TRUE(subject->PutFile(In("SetUp.exe"), "MZ", attr::kArchive));
  ASSERT_TRUE(subject->PutStream(In("SetUp.exe"), kMark, kMarkText));
  EXPECT_TRUE(files().RemoveStream(In("SetUp.exe").c_str(), kMark));
  EXPECT_EQ(subject->ReadStream(In("SetUp.exe"), kMark), std::nullopt);
  EXPECT_EQ(subject->ReadFile(In("SetUp.exe")), "MZ");

  EXPECT_TRUE(files().RemoveStream(In("SetUp.exe").c_str(), kMark)) << "a file without one";
  EXPECT_FALSE(files().RemoveStream(In("gone.exe").c_str(), kMark));
  EXPECT_EQ(files().LastError(), fs_error::kFileNotFound);
}

TEST_P(FileSystemContract, CopyTakesTheStreamsAlong) {
  ASSERT_TRUE(subject->PutFile(In("SetUp.exe"), "MZ", attr::kArchive));
  ASSERT_TRUE(subject->PutStream(In("SetUp.exe"), kMark, kMarkText));
  ASSERT_TRUE(files().Copy(In("SetUp.exe").c_str(), In("copy.exe").c_str(), true));
  const std::string markFile = std::string("SetUp.exe:") + kMark;
  if (subject->Differences().streamsAreFilesBeside) {
    EXPECT_EQ(subject->ReadStream(In("copy.exe"), kMark), std::nullopt);
    EXPECT_THAT(ListNames(In("*")), Contains(markFile));
  } else {
    EXPECT_EQ(subject->ReadStream(In("copy.exe"), kMark), kMarkText);
    EXPECT_THAT(ListNames(In("*")), Not(Contains(markFile)));
  }
}

}  // namespace
}  // namespace contract
