// Links to folders (junctions, folder symbolic links, under Wine Unix symbolic links): how they
// list, where a path through one leads, and what removing one takes away.

#include <gmock/gmock.h>

#include <string>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;
using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::Field;

constexpr std::uint32_t kFolderLink = attr::kDirectory | attr::kReparsePoint;

// Data\link leads to the folder Kept, which holds a.dll.
bool MakeLinkedFolders(Subject& subject) {
  const std::string& scratch = subject.Scratch();
  return subject.Files().CreateFolder((scratch + "\\Kept").c_str()) &&
         subject.PutFile(scratch + "\\Kept\\a.dll", "a", attr::kArchive) &&
         subject.Files().CreateFolder((scratch + "\\Data").c_str()) &&
         subject.MakeFolderLink(scratch + "\\Data\\link", scratch + "\\Kept");
}

TEST_P(FileSystemContract, AFolderLinkListsAsSuchAndLeadsIntoItsTarget) {
  ASSERT_TRUE(MakeLinkedFolders(*subject));
  EXPECT_EQ(AttributesOf("Data\\link"), kFolderLink);
  EXPECT_THAT(List(In("Data\\*")).value_or(std::vector<platform::FindData>{}),
              ElementsAre(Field(&platform::FindData::fileName, "."),
                          Field(&platform::FindData::fileName, ".."),
                          AllOf(Field(&platform::FindData::fileName, "link"),
                                Field(&platform::FindData::attributes, kFolderLink))));
  EXPECT_THAT(ListNames(In("Data\\link\\*")), ElementsAre(".", "..", "a.dll"));
  EXPECT_EQ(subject->ReadFile(In("Data\\link\\a.dll")), "a");
}

TEST_P(FileSystemContract, RemovingAFolderLinkNeverTakesWhatItLeadsTo) {
  ASSERT_TRUE(MakeLinkedFolders(*subject));
  const bool removed = files().RemoveFolder(In("Data\\link").c_str());
  if (subject->Differences().folderLinkRemovalFollowed) {
    EXPECT_FALSE(removed);
    EXPECT_EQ(files().LastError(), fs_error::kDirNotEmpty);
  } else {
    EXPECT_TRUE(removed);
    EXPECT_THAT(ListNames(In("Data\\*")), ElementsAre(".", ".."));
  }
  EXPECT_EQ(subject->ReadFile(In("Kept\\a.dll")), "a");
}

}  // namespace
}  // namespace contract
