// The environment, the program's own path, the current folder and the application-data
// folder: the calls that fill a caller's fixed buffer.

#include <cstring>
#include <string>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/memory/memory_file_system.h"
#include "platform/program_folder.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;

constexpr char kUntouched = 'x';

struct Buffer {
  Buffer() { std::memset(bytes, kUntouched, sizeof bytes); }
  char bytes[400];
};

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); pos += ansi::CharLengthAt(text, pos)) ++count;
  return count;
}

TEST_P(FileSystemContract, EnvironmentValueNeedsRoomForItsNul) {
  ASSERT_TRUE(subject->SetEnvironment("ZELVAR_CONTRACT", "abc"));
  Buffer small;
  EXPECT_EQ(files().GetEnvironment("ZELVAR_CONTRACT", small.bytes, 3), 4u);
  EXPECT_EQ(small.bytes[0], kUntouched);
  EXPECT_EQ(files().GetEnvironment("ZELVAR_CONTRACT", nullptr, 0), 4u);

  Buffer fits;
  EXPECT_EQ(files().GetEnvironment("zelvar_contract", fits.bytes, 4), 3u);
  EXPECT_STREQ(fits.bytes, "abc");

  ASSERT_TRUE(subject->SetEnvironment("ZELVAR_CONTRACT", ""));
  EXPECT_EQ(files().GetEnvironment("ZELVAR_CONTRACT", fits.bytes, 4), 0u);
  ASSERT_TRUE(subject->SetEnvironment("ZELVAR_CONTRACT", nullptr));
  EXPECT_EQ(files().GetEnvironment("ZELVAR_CONTRACT", fits.bytes, 4), 0u);
  EXPECT_EQ(subject->LastError(), fs_error::kEnvVarNotFound);
}

TEST_P(FileSystemContract, EnvironmentValueInChineseIsCountedInBytes) {
  const std::string value = "C:\\用户\\张三";
  ASSERT_TRUE(subject->SetEnvironment("ZELVAR_CONTRACT", value.c_str()));
  Buffer read;
  const std::uint32_t length =
      files().GetEnvironment("ZELVAR_CONTRACT", read.bytes, sizeof read.bytes);
  if (subject->Differences().environmentCountsUtf16Units) {
    // Wine differs from Windows here: it counts UTF-16 units and cuts the value there.
    const std::size_t units = CharacterCount(value);
    EXPECT_EQ(length, units);
    EXPECT_EQ(std::string(read.bytes), value.substr(0, units));
  } else {
    EXPECT_EQ(length, value.size());
    EXPECT_EQ(std::string(read.bytes), value);
    EXPECT_EQ(files().GetEnvironment("ZELVAR_CONTRACT", read.bytes, 5), value.size() + 1);
  }
  subject->SetEnvironment("ZELVAR_CONTRACT", nullptr);
}

TEST_P(FileSystemContract, ModulePathCutByASmallBufferFillsItWithoutNul) {
  Buffer whole;
  const std::uint32_t length = files().GetModulePath(whole.bytes, platform::kMaxPath);
  ASSERT_GT(length, 4u);
  ASSERT_LT(length, platform::kMaxPath);
  const std::string path(whole.bytes, length);
  EXPECT_EQ(path.size(), std::strlen(whole.bytes));
  EXPECT_TRUE(ansi::EqualsNoCase(path.substr(path.size() - 4), ".exe")) << path;

  for (std::uint32_t size : {1u, 5u, length}) {
    SCOPED_TRACE(size);
    Buffer cut;
    EXPECT_EQ(files().GetModulePath(cut.bytes, size), size);
    EXPECT_EQ(subject->LastError(), fs_error::kInsufficientBuffer);
    // As on Windows XP, no NUL: Windows since Vista puts one in the last byte instead, so a
    // cut path must never be read.
    EXPECT_EQ(std::string(cut.bytes, size), path.substr(0, size));
    EXPECT_EQ(cut.bytes[size], kUntouched);
  }
  Buffer none;
  EXPECT_EQ(files().GetModulePath(none.bytes, 0), 0u);
  EXPECT_EQ(none.bytes[0], kUntouched);
  Buffer exact;
  EXPECT_EQ(files().GetModulePath(exact.bytes, length + 1), length);
  EXPECT_EQ(exact.bytes[length], '\0');
}

TEST_P(FileSystemContract, OwnProgramFolderIsTheFolderThatHoldsTheProgram) {
  std::string file;
  std::string folder;
  ASSERT_TRUE(platform::OwnProgramFile(files(), file));
  ASSERT_TRUE(platform::OwnProgramFolder(files(), folder));
  EXPECT_EQ(files().GetAttributes(folder.c_str()) & (attr::kDirectory | attr::kReadOnly),
            attr::kDirectory) << folder;
  EXPECT_EQ(ansi::FindLastBackslash(file), folder.size()) << file;
  EXPECT_EQ(files().GetAttributes(file.c_str()) & attr::kDirectory, 0u) << file;
}

TEST_P(FileSystemContract, CurrentFolderNeedsRoomForItsNul) {
  ASSERT_TRUE(subject->SetCurrentFolder(subject->Scratch()));
  const std::string& scratch = subject->Scratch();
  const auto length = static_cast<std::uint32_t>(scratch.size());
  Buffer read;
  EXPECT_EQ(files().GetCurrentFolder(sizeof read.bytes, read.bytes), length);
  EXPECT_EQ(std::string(read.bytes), scratch);

  Buffer small;
  EXPECT_EQ(files().GetCurrentFolder(3, small.bytes), length + 1);
  EXPECT_EQ(files().GetCurrentFolder(length, small.bytes), length + 1);
  EXPECT_EQ(small.bytes[0], kUntouched);
  EXPECT_EQ(files().GetCurrentFolder(length + 1, small.bytes), length);
}

TEST_P(FileSystemContract, RelativePathsStartAtTheCurrentFolder) {
  ASSERT_TRUE(files().CreateFolder(In("Data").c_str()));
  ASSERT_TRUE(subject->PutFile(In("Data\\a.dat"), "a", attr::kArchive));
  ASSERT_TRUE(subject->SetCurrentFolder(subject->Scratch()));
  const std::string drive = subject->Scratch().substr(0, 2);        // "C:"
  const std::string withoutDrive = subject->Scratch().substr(2);  // "\...\scratch"

  EXPECT_EQ(KeptBits(files().GetAttributes("Data\\a.dat")), 0u);
  EXPECT_EQ(KeptBits(files().GetAttributes(".\\Data\\..\\Data\\a.dat")), 0u);
  EXPECT_EQ(KeptBits(files().GetAttributes((withoutDrive + "\\Data\\a.dat").c_str())), 0u);
  EXPECT_EQ(KeptBits(files().GetAttributes((drive + "Data\\a.dat").c_str())), 0u);
  EXPECT_EQ(ListNames("Data\\*"), std::vector<std::string>({".", "..", "a.dat"}));
  EXPECT_TRUE(files().Copy("Data\\a.dat", "b.dat", true));
  EXPECT_EQ(subject->ReadFile(In("b.dat")), "a");
  EXPECT_TRUE(files().CreateFolder("Made"));
  EXPECT_EQ(KeptBits(AttributesOf("Made")), attr::kDirectory);
}

TEST_P(FileSystemContract, AppDataFolderIsAnExistingFullPath) {
  char path[platform::kMaxPath];
  ASSERT_TRUE(files().GetAppDataFolder(path));
  const std::string folder = path;
  ASSERT_GT(folder.size(), 3u);
  EXPECT_EQ(folder[1], ':');
  EXPECT_EQ(KeptBits(files().GetAttributes(path)), attr::kDirectory) << folder;
}

}  // namespace
}  // namespace contract
