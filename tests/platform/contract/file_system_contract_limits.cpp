// How long a path the narrow file functions take, in a program without a long-path manifest:
// a path is counted in characters after conversion from the code page, so a Chinese path may
// be twice as long in bytes.

#include <string>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;

// A path of exactly `characters` characters that starts with `start`, in names of `letter`
// (one byte, or one character of two bytes), with `start` and every folder above the last name
// made. No name is longer than 80 characters, so none is too long for the Unix side of Wine.
std::string PathOf(platform::FileSystem& files, std::string path, std::size_t characters,
                   const std::string& letter) {
  const auto name = [&](std::size_t count) {
    std::string text;
    for (std::size_t k = 0; k < count; ++k) text += letter;
    return text;
  };
  EXPECT_TRUE(files.CreateFolder(path.c_str())) << path;
  std::size_t length = platform::PathCharacters(path);
  while (characters - length > 81) {
    path += '\\';
    path += name(60);
    length += 61;
    EXPECT_TRUE(files.CreateFolder(path.c_str())) << path;
  }
  path += '\\';
  path += name(characters - length - 1);
  EXPECT_EQ(platform::PathCharacters(path), characters);
  return path;
}

TEST_P(FileSystemContract, PathsStopShortOfMaxPathAndNewFoldersShortOf248Characters) {
  const KnownDifferences known = subject->Differences();
  ASSERT_TRUE(subject->PutFile(In("source.dat"), "s", attr::kArchive));
  const std::size_t pathLimit = known.pathOf260Taken ? 261 : 260;
  const std::size_t folderLimit = known.longFoldersCreated ? 261 : 248;

  for (const std::string& letter : {std::string("x"), std::string("字")}) {
    for (const std::size_t characters : {247u, 248u, 259u, 260u, 261u}) {
      std::string tag = letter == "x" ? "a" : "c";
      tag += std::to_string(characters);
      SCOPED_TRACE(tag);

      const std::string folder = PathOf(files(), In(tag + "d"), characters, letter);
      const bool folderMade = characters < folderLimit;
      EXPECT_EQ(files().CreateFolder(folder.c_str()), folderMade);
      if (!folderMade) {
        EXPECT_EQ(subject->LastError(), fs_error::kFilenameExcedRange);
      }
      const std::string made = PathOf(files(), In(tag + "m"), characters, letter);
      EXPECT_EQ(files().MakeFolder(made.c_str()), folderMade ? 0 : -1);

      const std::string file = PathOf(files(), In(tag + "f"), characters, letter);
      const bool taken = characters < pathLimit;
      EXPECT_EQ(files().Copy(In("source.dat").c_str(), file.c_str(), false),
                taken || known.copyDestinationUnlimited);
      if (!taken && !known.copyDestinationUnlimited) {
        EXPECT_EQ(subject->LastError(), fs_error::kFilenameExcedRange);
      }
      EXPECT_EQ(files().GetAttributes(file.c_str()) != attr::kInvalid, taken);
      if (!taken) {
        EXPECT_EQ(subject->LastError(), fs_error::kFilenameExcedRange);
      }
      platform::FindHandle listing;
      platform::FindData found;
      EXPECT_EQ(files().FindFirst(file.c_str(), listing, found), taken);
      if (!taken) {
        EXPECT_EQ(subject->LastError(), fs_error::kFilenameExcedRange);
      }
      EXPECT_EQ(files().Copy(file.c_str(), In("back.dat").c_str(), false), taken);
    }
  }
}

}  // namespace
}  // namespace contract
