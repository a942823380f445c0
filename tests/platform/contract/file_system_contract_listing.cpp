// FindFirstFileA / FindNextFileA: what a pattern finds, and the names it gives back.

#include <string>
#include <vector>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;
using Names = std::vector<std::string>;

TEST_P(FileSystemContract, FindWithATrailingBackslashFindsNothing) {
  ASSERT_TRUE(files().CreateFolder(In("Data").c_str()));
  platform::FindHandle listing;
  platform::FindData data;
  EXPECT_FALSE(files().FindFirst(In("Data\\").c_str(), listing, data));
  EXPECT_EQ(subject->LastError(), fs_error::kFileNotFound);
  EXPECT_FALSE(listing.IsOpen());
}

TEST_P(FileSystemContract, FindOnAFolderNameGivesTheFolderItselfInItsStoredCase) {
  ASSERT_TRUE(files().CreateFolder(In("Data").c_str()));
  platform::FindHandle listing;
  platform::FindData data;
  ASSERT_TRUE(files().FindFirst(In("DATA").c_str(), listing, data));
  EXPECT_EQ(data.fileName, "Data");
  EXPECT_EQ(KeptBits(data.attributes), attr::kDirectory);
  EXPECT_FALSE(files().FindNext(listing, data));
  EXPECT_EQ(subject->LastError(), fs_error::kNoMoreFiles);
}

TEST_P(FileSystemContract, ListingGivesTheDotEntriesAndEveryNameInItsStoredCase) {
  ASSERT_TRUE(files().CreateFolder(In("Data").c_str()));
  ASSERT_TRUE(files().CreateFolder(In("Data\\Sub").c_str()));
  ASSERT_TRUE(subject->PutFile(In("Data\\ReadMe.TXT"), "12345", attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("Data\\noext"), "", attr::kHidden));

  for (const char* pattern : {"Data\\*.*", "Data\\*", "DATA\\*.*"}) {
    SCOPED_TRACE(pattern);
    const auto entries = List(In(pattern));
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 5u);
    const auto& e = *entries;
    EXPECT_EQ(Names({e[0].fileName, e[1].fileName, e[2].fileName, e[3].fileName, e[4].fileName}),
              Names({".", "..", "ReadMe.TXT", "Sub", "noext"}));
    EXPECT_EQ(KeptBits(e[0].attributes), attr::kDirectory);
    EXPECT_EQ(KeptBits(e[1].attributes), attr::kDirectory);
    EXPECT_EQ(KeptBits(e[2].attributes), 0u);
    EXPECT_EQ(e[2].size, 5u);
    EXPECT_EQ(KeptBits(e[3].attributes), attr::kDirectory);
    EXPECT_EQ(KeptBits(e[4].attributes), attr::kHidden);
  }
}

TEST_P(FileSystemContract, AnEmptyFolderListsOnlyItsDotEntries) {
  ASSERT_TRUE(files().CreateFolder(In("Empty").c_str()));
  EXPECT_EQ(ListNames(In("Empty\\*")), Names({".", ".."}));

  platform::FindHandle listing;
  platform::FindData data;
  EXPECT_FALSE(files().FindFirst(In("Empty\\*.txt").c_str(), listing, data));
  EXPECT_EQ(subject->LastError(), fs_error::kFileNotFound);
}

TEST_P(FileSystemContract, ListingFailsWhereThereIsNoFolder) {
  ASSERT_TRUE(subject->PutFile(In("a.dat"), "a", attr::kArchive));
  platform::FindHandle listing;
  platform::FindData data;
  EXPECT_FALSE(files().FindFirst(In("Missing\\*").c_str(), listing, data));
  EXPECT_EQ(subject->LastError(), fs_error::kPathNotFound);
  EXPECT_FALSE(files().FindFirst(In("a.dat\\*").c_str(), listing, data));
  EXPECT_FALSE(files().FindFirst(In("missing.dat").c_str(), listing, data));
  EXPECT_EQ(subject->LastError(), fs_error::kFileNotFound);
  EXPECT_FALSE(listing.IsOpen());
}

TEST_P(FileSystemContract, WildcardsMatchWithoutRegardToCase) {
  for (const char* name : {"ReadMe.TXT", "readme2.txt", "Setup.ini", "noext"}) {
    ASSERT_TRUE(subject->PutFile(In(name), name, attr::kArchive));
  }
  EXPECT_EQ(ListNames(In("*.txt")), Names({"ReadMe.TXT", "readme2.txt"}));
  EXPECT_EQ(ListNames(In("README?.*")), Names({"readme2.txt"}));
  EXPECT_EQ(ListNames(In("S?TUP.INI")), Names({"Setup.ini"}));
  EXPECT_EQ(ListNames(In("noext.*")), Names({"noext"}));
}

TEST_P(FileSystemContract, TheRootOfADriveListsNoDotEntries) {
  const std::string root = subject->Scratch().substr(0, 3);  // "C:\"
  const Names names = ListNames(root + "*");
  EXPECT_FALSE(names.empty());
  for (const std::string& name : names) {
    EXPECT_NE(name, ".");
    EXPECT_NE(name, "..");
  }
}

}  // namespace
}  // namespace contract
