// Folders, attributes and _access, and the ways a path may be spelled: doubled separators,
// slashes, any letter case, Chinese names in code page 936.

#include <string>
#include <vector>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;
using Names = std::vector<std::string>;

TEST_P(FileSystemContract, CreateFolderMakesOneLevelAndRefusesWhatExists) {
  EXPECT_FALSE(files().CreateFolder(In("a\\b").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kPathNotFound);
  EXPECT_EQ(AttributesOf("a"), attr::kInvalid);

  EXPECT_TRUE(files().CreateFolder(In("a").c_str()));
  EXPECT_EQ(KeptBits(AttributesOf("a")), attr::kDirectory);
  EXPECT_FALSE(files().CreateFolder(In("A").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kAlreadyExists);

  ASSERT_TRUE(subject->PutFile(In("file.dat"), "x", attr::kArchive));
  EXPECT_FALSE(files().CreateFolder(In("file.dat").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kAlreadyExists);
  EXPECT_FALSE(files().CreateFolder(In("file.dat\\sub").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kPathNotFound);

  EXPECT_TRUE(files().CreateFolder(In("a\\b\\").c_str()));
  EXPECT_EQ(KeptBits(AttributesOf("a\\b")), attr::kDirectory);
  EXPECT_FALSE(files().CreateFolder(In("what?").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kInvalidName);
}

TEST_P(FileSystemContract, MakeFolderMakesOneLevelAndRefusesWhatExists) {
  EXPECT_EQ(files().MakeFolder(In("a\\b").c_str()), -1);
  EXPECT_EQ(files().MakeFolder(In("a").c_str()), 0);
  EXPECT_EQ(files().MakeFolder(In("a").c_str()), -1);
  EXPECT_EQ(files().MakeFolder(In("a\\b").c_str()), 0);
  EXPECT_EQ(KeptBits(AttributesOf("a\\b")), attr::kDirectory);
}

TEST_P(FileSystemContract, DoubledSeparatorsAndSlashesCountAsOne) {
  const std::string& scratch = subject->Scratch();
  ASSERT_TRUE(subject->PutFile(In("a.dat"), "a", attr::kArchive));

  EXPECT_TRUE(files().CreateFolder((scratch + "\\\\Twice").c_str()));
  EXPECT_EQ(files().MakeFolder((scratch + "\\Twice\\\\Made").c_str()), 0);
  EXPECT_TRUE(files().Copy((scratch + "\\\\a.dat").c_str(), (scratch + "\\Twice\\\\b.dat").c_str(),
                           false));
  EXPECT_EQ(subject->ReadFile(In("Twice\\b.dat")), "a");
  EXPECT_EQ(KeptBits(files().GetAttributes((scratch + "/Twice//b.dat").c_str())), 0u);
  EXPECT_TRUE(files().SetAttributes((scratch + "\\\\Twice\\\\b.dat").c_str(), attr::kHidden));
  EXPECT_EQ(KeptBits(AttributesOf("Twice\\b.dat")), attr::kHidden);
  EXPECT_EQ(files().Access((scratch + "\\\\Twice\\\\b.dat").c_str(), 6), 0);
  EXPECT_EQ(ListNames(scratch + "\\\\Twice\\\\*"), Names({".", "..", "Made", "b.dat"}));
  EXPECT_EQ(ListNames(scratch + "/Twice/B.DAT"), Names({"b.dat"}));
}

TEST_P(FileSystemContract, ClearingReadOnlyKeepsHidden) {
  ASSERT_TRUE(subject->PutFile(In("a.dat"), "a", attr::kReadOnly | attr::kHidden));
  const std::uint32_t before = AttributesOf("a.dat");
  ASSERT_EQ(KeptBits(before), attr::kReadOnly | attr::kHidden);

  EXPECT_TRUE(files().SetAttributes(In("a.dat").c_str(), before & ~attr::kReadOnly));
  EXPECT_EQ(KeptBits(AttributesOf("a.dat")), attr::kHidden);
  EXPECT_EQ(files().Access(In("a.dat").c_str(), 2), 0);

  // The directory bit cannot be given to a file; "normal" clears every bit.
  EXPECT_TRUE(files().SetAttributes(In("a.dat").c_str(), attr::kDirectory | attr::kSystem));
  EXPECT_EQ(KeptBits(AttributesOf("a.dat")), attr::kSystem);
  EXPECT_TRUE(files().SetAttributes(In("a.dat").c_str(), attr::kNormal));
  // Wine differs from Windows here: it reports the archive bit where Windows says "normal".
  EXPECT_EQ(AttributesOf("a.dat"),
            subject->Differences().archiveAlwaysReported ? attr::kArchive : attr::kNormal);
}

TEST_P(FileSystemContract, SetAttributesNeedsSomethingThere) {
  EXPECT_FALSE(files().SetAttributes(In("missing.dat").c_str(), attr::kHidden));
  EXPECT_EQ(subject->LastError(), fs_error::kFileNotFound);
  EXPECT_FALSE(files().SetAttributes(In("Missing\\a.dat").c_str(), attr::kHidden));
  EXPECT_EQ(subject->LastError(), fs_error::kPathNotFound);
  EXPECT_EQ(AttributesOf("missing.dat"), attr::kInvalid);
}

TEST_P(FileSystemContract, FoldersTakeAttributesAndStayWritableForAccess) {
  ASSERT_TRUE(files().CreateFolder(In("Folder").c_str()));
  EXPECT_TRUE(files().SetAttributes(In("Folder").c_str(), attr::kHidden));
  EXPECT_EQ(KeptBits(AttributesOf("Folder")), attr::kDirectory | attr::kHidden);

  EXPECT_TRUE(files().SetAttributes(In("Folder").c_str(), attr::kReadOnly));
  // Wine differs from Windows here: it drops the read-only bit of a folder.
  EXPECT_EQ(KeptBits(AttributesOf("Folder")),
            subject->Differences().folderReadOnlyDropped ? attr::kDirectory
                                                         : attr::kDirectory | attr::kReadOnly);
  // The C runtime counts every folder as writable, read-only bit or not.
  EXPECT_EQ(files().Access(In("Folder").c_str(), 6), 0);
  EXPECT_TRUE(files().SetAttributes(In("Folder").c_str(), attr::kNormal));
}

TEST_P(FileSystemContract, AccessAnswersFromExistenceAndTheReadOnlyBit) {
  ASSERT_TRUE(subject->PutFile(In("plain.dat"), "p", attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("readonly.dat"), "r", attr::kReadOnly));
  ASSERT_TRUE(subject->PutFile(In("hidden.dat"), "h", attr::kHidden));
  struct Case {
    const char* name;
    int mode;
    int result;
  };
  const Case cases[] = {{"plain.dat", 0, 0},    {"plain.dat", 2, 0},    {"plain.dat", 6, 0},
                        {"readonly.dat", 0, 0}, {"readonly.dat", 2, -1}, {"readonly.dat", 4, 0},
                        {"readonly.dat", 6, -1}, {"hidden.dat", 6, 0},  {"missing.dat", 0, -1},
                        {"missing.dat", 4, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(files().Access(In(c.name).c_str(), c.mode), c.result) << c.name << " mode " << c.mode;
  }
}

TEST_P(FileSystemContract, NamesAreFoundWithoutRegardToCaseAndKeptAsWritten) {
  ASSERT_TRUE(files().CreateFolder(In("Data").c_str()));
  ASSERT_TRUE(subject->PutFile(In("Data\\ReadMe.txt"), "r", attr::kArchive));
  EXPECT_EQ(KeptBits(AttributesOf("DATA\\readme.TXT")), 0u);
  EXPECT_EQ(files().Access(In("data\\README.TXT").c_str(), 4), 0);
  EXPECT_TRUE(files().Copy(In("DATA\\README.TXT").c_str(), In("data\\Copy.TXT").c_str(), true));
  EXPECT_EQ(ListNames(In("dAtA\\*")), Names({".", "..", "Copy.TXT", "ReadMe.txt"}));

  // Full-width Latin and Greek letters have case partners in code page 936 too.
  ASSERT_TRUE(files().CreateFolder(In("Ｚｅｌｖａｒ").c_str()));
  EXPECT_EQ(ListNames(In("ｚｅｌｖａｒ")), Names({"Ｚｅｌｖａｒ"}));
  ASSERT_TRUE(files().CreateFolder(In("ΑΒΓ").c_str()));
  EXPECT_EQ(KeptBits(AttributesOf("αβγ")), attr::kDirectory);
  EXPECT_FALSE(files().CreateFolder(In("αβγ").c_str()));
}

TEST_P(FileSystemContract, ChineseNamesSurviveCreateCopyAndListing) {
  ASSERT_TRUE(subject->PutFile(In("readme.txt"), "说明", attr::kArchive));
  const std::string product = "Zelvar批打印软件";
  ASSERT_EQ(product, "Zelvar\xC5\xFA\xB4\xF2\xD3\xA1\xC8\xED\xBC\xFE") << "built as code page 936";

  ASSERT_TRUE(files().CreateFolder(In(product).c_str()));
  EXPECT_EQ(files().MakeFolder(In(product + "\\字体").c_str()), 0);
  ASSERT_TRUE(files().Copy(In("readme.txt").c_str(), In(product + "\\说明.txt").c_str(), true));
  EXPECT_EQ(subject->ReadFile(In(product + "\\说明.txt")), "说明");
  EXPECT_EQ(ListNames(In(product)), Names({product}));
  EXPECT_EQ(ListNames(In(product + "\\*.*")), Names({".", "..", "说明.txt", "字体"}));

  // "乗" and "俓" end in the byte 0x5C and "亅" in 0x7C: inside a character they are neither
  // a backslash nor a bar.
  const std::string trail5C = "乗俓";
  ASSERT_EQ(trail5C, "\x81\x5C\x82\x5C");
  ASSERT_TRUE(files().CreateFolder(In(trail5C).c_str()));
  ASSERT_TRUE(files().Copy(In("readme.txt").c_str(), In(trail5C + "\\乗.txt").c_str(), true));
  EXPECT_EQ(KeptBits(AttributesOf(trail5C + "\\乗.txt")), 0u);
  EXPECT_EQ(ListNames(In(trail5C + "\\*")), Names({".", "..", "乗.txt"}));
  EXPECT_EQ(ListNames(In(trail5C)), Names({trail5C}));
  EXPECT_TRUE(files().CreateFolder(In("亅").c_str()));
  EXPECT_EQ(KeptBits(AttributesOf("亅")), attr::kDirectory);
}

}  // namespace
}  // namespace contract
