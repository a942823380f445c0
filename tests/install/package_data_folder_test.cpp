#include <gtest/gtest.h>

#include <string>

#include "install/package_data_folder.h"
#include "platform/memory/memory_platform.h"
#include "ui/logic/install_message_boxes.h"

namespace install {
namespace {

using platform::attr::kArchive;
using platform::attr::kHidden;
using platform::attr::kReadOnly;

constexpr const char* kMissingData =
    "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !";

class PackageDataFolder : public ::testing::Test {
 protected:
  void SetUp() override { machine.files.AddDrive('D'); }

  bool Find() {
    folder = "stale";
    const bool found = FindPackageDataFolder(machine.Get(), prompts, folder);
    EXPECT_EQ(machine.files.OpenListingCount(), 0u);
    return found;
  }

  void ExpectTheMissingDataMessage() {
    ASSERT_EQ(machine.messages.Shown().size(), 1u);
    const platform::ShownMessageBox& box = machine.messages.Shown()[0];
    EXPECT_EQ(box.text, kMissingData);
    EXPECT_EQ(box.caption, "Zelvar软件安装");
    EXPECT_EQ(box.flags, platform::mb::kOk);
    EXPECT_EQ(box.owner, kOwner);
  }

  static constexpr platform::WindowRef kOwner = 0x1234;
  platform::MemoryPlatform machine;
  ui::InstallMessageBoxes prompts{machine.messages, kOwner};
  std::string folder;
};

TEST_F(PackageDataFolder, TheDataFolderBesideTheProgramComesFirst) {
  machine.files.SetModulePath("D:\\下载\\Zelvar\\SetUp.exe");
  ASSERT_TRUE(machine.files.AddFolder("D:\\下载\\Zelvar\\Data"));
  ASSERT_TRUE(machine.files.AddFile("D:\\下载\\Zelvar\\ZV_BatchPlot2010.arx", "module"));
  EXPECT_TRUE(Find());
  EXPECT_EQ(folder, "D:\\下载\\Zelvar\\Data");
  EXPECT_TRUE(machine.messages.Shown().empty());
}

TEST_F(PackageDataFolder, ADataFolderSpelledInAnyCaseIsFound) {
  for (const char* program : {"D:\\Lower\\SetUp.exe", "D:\\Upper\\SetUp.exe"}) {
    machine.files.SetModulePath(program);
    ASSERT_TRUE(machine.files.AddFolder("D:\\Lower\\data"));
    ASSERT_TRUE(machine.files.AddFolder("D:\\Upper\\DATA"));
    EXPECT_TRUE(Find()) << program;
  }
  EXPECT_EQ(folder, "D:\\Upper\\Data");
  EXPECT_TRUE(machine.messages.Shown().empty());
}

TEST_F(PackageDataFolder, TheModuleBesideTheProgramMakesItsOwnFolderTheDataFolder) {
  machine.files.SetModulePath("D:\\Dist\\Data\\SetUp.exe");
  ASSERT_TRUE(machine.files.AddFile("D:\\Dist\\Data\\ZV_BatchPlot2010.arx", "module"));
  EXPECT_TRUE(Find());
  EXPECT_EQ(folder, "D:\\Dist\\Data");

  ASSERT_TRUE(machine.files.AddFile("D:\\Dist\\Data\\Data", "a file, not a folder"));
  EXPECT_TRUE(Find());
  EXPECT_EQ(folder, "D:\\Dist\\Data");
  EXPECT_TRUE(machine.messages.Shown().empty());
}

TEST_F(PackageDataFolder, AProgramAloneInItsFolderGetsTheMessage) {
  machine.files.SetModulePath("C:\\Temp\\Rar$EX01\\SetUp.exe");
  ASSERT_TRUE(machine.files.AddFolder("C:\\Temp\\Rar$EX01\\ZV_BatchPlot2010.arx"));
  EXPECT_FALSE(Find());
  ExpectTheMissingDataMessage();
}

TEST_F(PackageDataFolder, ABackslashInsideADoubleByteCharacterIsNoSeparator) {
  // 0x81 0x5C is one character of the program's file name, not a folder boundary.
  machine.files.SetModulePath("D:\\Dist\\Set\x81\\Up.exe");
  ASSERT_TRUE(machine.files.AddFolder("D:\\Dist\\Data"));
  EXPECT_TRUE(Find());
  EXPECT_EQ(folder, "D:\\Dist\\Data");
}

TEST_F(PackageDataFolder, AProgramPathTooLongForItsBufferIsNeverActedOnCut) {
  // Cut to the buffer, the path would end inside "bbb..." and name `cutFolder`, which holds
  // a Data folder: only a program that acts on the cut path would find it.
  const std::string cutFolder = "C:\\" + std::string(254, 'a');
  ASSERT_TRUE(machine.files.AddFolder(cutFolder + "\\Data"));
  machine.files.SetModulePath(cutFolder + "\\" + std::string(30, 'b') + "\\SetUp.exe");
  EXPECT_FALSE(Find());
  ExpectTheMissingDataMessage();

  // 260 characters and the NUL fill the 261 the program offers exactly.
  const std::string longest = "C:\\" + std::string(247, 'c');
  ASSERT_TRUE(machine.files.AddFolder(longest + "\\Data"));
  machine.files.SetModulePath(longest + "\\SetUp.exe");
  ASSERT_EQ(longest.size() + 10, 260u);
  EXPECT_TRUE(Find());
  EXPECT_EQ(folder, longest + "\\Data");
}

TEST(PathKind, NamesNothingAFileOrAFolderAsTheListingSeesIt) {
  platform::MemoryFileSystem files;
  ASSERT_TRUE(files.AddFile("C:\\A\\file.txt", "x", kReadOnly | kHidden));
  EXPECT_EQ(GetPathKind(files, "C:\\A\\file.txt"), PathIsFile);
  EXPECT_EQ(GetPathKind(files, "C:\\A"), PathIsFolder);
  EXPECT_EQ(GetPathKind(files, "C:\\A\\missing"), PathMissing);
  EXPECT_EQ(GetPathKind(files, "C:\\A\\"), PathMissing) << "a trailing backslash finds nothing";
  EXPECT_EQ(files.OpenListingCount(), 0u);
}

TEST(ClearReadOnlyAttribute, RemovesOnlyTheReadOnlyBitAndLeavesMissingPathsAlone) {
  platform::MemoryFileSystem files;
  ASSERT_TRUE(files.AddFile("C:\\f", "x", kReadOnly | kHidden | kArchive));
  ClearReadOnly(files, "C:\\f");
  EXPECT_EQ(files.Attributes("C:\\f"), kHidden | kArchive);
  ClearReadOnly(files, "C:\\missing");
  EXPECT_FALSE(files.Exists("C:\\missing"));

  files.DenyWrites("C:\\Locked");
  ASSERT_TRUE(files.AddFile("C:\\Locked\\g", "x", kReadOnly));
  ClearReadOnly(files, "C:\\Locked\\g");
  EXPECT_EQ(files.Attributes("C:\\Locked\\g"), kReadOnly) << "a refusal changes nothing";
}

}  // namespace
}  // namespace install
