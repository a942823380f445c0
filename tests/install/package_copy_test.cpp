#include "install/package_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"
#include "ui/logic/install_message_boxes.h"

namespace install {
namespace {

using platform::attr::kArchive;
using platform::attr::kDirectory;
using platform::attr::kHidden;
using platform::attr::kReadOnly;

constexpr const char* kProduct = "C:\\Zelvar\\Zelvar批打印软件";
constexpr const char* kAppData = "C:\\Users\\User\\AppData\\Roaming";

class CountingProgress final : public ProgressSteps {
 public:
  void StepIt() override { ++steps; }
  void BetweenParts() override { ++parts; }
  int steps = 0;
  int parts = 0;
};

// The program C:\Dist\SetUp.exe with its package in C:\Dist\Data.
class PackageCopyTest : public ::testing::Test {
 protected:
  PackageCopyTest() {
    memory.files.SetModulePath("C:\\Dist\\SetUp.exe");
    memory.files.AddFile("C:\\Dist\\SetUp.exe", "setup");
    memory.files.AddFolder("C:\\Dist\\Data");
    memory.files.AddFolder(kAppData);
    memory.files.SetEnvironment("APPDATA", kAppData);
  }

  void AddPackageFile(const std::string& name, const std::string& contents = "data",
                      std::uint32_t attributes = kArchive) {
    ASSERT_TRUE(memory.files.AddFile("C:\\Dist\\Data\\" + name, contents, attributes));
  }

  bool Copy(const std::string& productFolder = kProduct) {
    const PackageCopyJob job(productFolder, progress);
    return CopyPackageFiles(memory.Get(), prompts, job, outcome);
  }

  // What the copy added or changed, one line per path.
  std::vector<std::string> ChangesSince(const platform::FileTree& before) const {
    return platform::DescribeChanges(before, memory.files.Snapshot());
  }

  static constexpr platform::WindowRef kOwner = 0x1234;
  platform::MemoryPlatform memory;
  ui::InstallMessageBoxes prompts{memory.messages, kOwner};
  CountingProgress progress;
  PackageCopyOutcome outcome;
};

TEST_F(PackageCopyTest, InstallsEachFileUnderItsNameAndPassesOverWhatAutoCADReceives) {
  AddPackageFile("SetUp.EXE");
  AddPackageFile("Zelvar_EN.shx");
  AddPackageFile("zelvar_hz.SHX");
  AddPackageFile("Zelvar.prt5");
  AddPackageFile("zelvar.prt7", "itext");
  // The mark a download leaves stays on the package and never reaches an installed file.
  ASSERT_TRUE(memory.files.AddStream("C:\\Dist\\Data\\zelvar.prt7", "Zone.Identifier", "3"));
  AddPackageFile("Zelvar.PRT8", "charting");
  AddPackageFile("Zelvar.prt9", "pdfsharp");
  AddPackageFile("ZELVAR.INI", "settings");
  AddPackageFile("ZV_BatchPlot2010.ARX", "module");
  AddPackageFile("使用说明.txt", "readme");
  AddPackageFile("Extras\\Hidden.txt", "not installed");
  ASSERT_TRUE(memory.files.SetAttributes("C:\\Dist\\Data\\Extras", kDirectory | kReadOnly));
  const platform::FileTree before = memory.files.Snapshot();

  EXPECT_TRUE(Copy());

  // Library names in their own case; every other name as the listing gives it. The chosen
  // folder is made too.
  EXPECT_EQ(ChangesSince(before),
            (std::vector<std::string>{
                "+ C:\\Users\\User\\AppData\\Roaming\\Zelvar",
                "+ C:\\Users\\User\\AppData\\Roaming\\Zelvar\\ZELVAR.INI",
                "+ C:\\Zelvar",
                "+ C:\\Zelvar\\Zelvar批打印软件",
                "+ C:\\Zelvar\\Zelvar批打印软件\\PdfSharp.Charting.dll",
                "+ C:\\Zelvar\\Zelvar批打印软件\\PdfSharp.dll",
                "+ C:\\Zelvar\\Zelvar批打印软件\\UnInstall.lst",
                "+ C:\\Zelvar\\Zelvar批打印软件\\ZV_BatchPlot2010.ARX",
                "+ C:\\Zelvar\\Zelvar批打印软件\\Zelvar.Ini.default",
                "+ C:\\Zelvar\\Zelvar批打印软件\\itextsharp.dll",
                "+ C:\\Zelvar\\Zelvar批打印软件\\使用说明.txt",
            }));
  EXPECT_EQ(memory.files.ReadFile("C:\\Zelvar\\Zelvar批打印软件\\itextsharp.dll"), "itext");
  EXPECT_EQ(memory.files.ReadFile(std::string(kAppData) + "\\Zelvar\\ZELVAR.INI"), "settings");
  EXPECT_EQ(memory.files.ReadFile("C:\\Zelvar\\Zelvar批打印软件\\Zelvar.Ini.default"), "settings");
  EXPECT_TRUE(memory.messages.Shown().empty());
}

TEST_F(PackageCopyTest, StepsOncePerEntryAndOnceAtTheEndAndLooksAtEveryEntry) {
  // Well past the 101 entries a fixed listing limit would stop at.
  constexpr int kFiles = 150;
  for (int i = 0; i < kFiles; ++i) {
    AddPackageFile("file" + std::to_string(i) + ".dat");
  }
  EXPECT_TRUE(Copy());
  // The files, "." and "..", and the step for the end of the listing.
  EXPECT_EQ(progress.steps, kFiles + 2 + 1);
  for (int i = 0; i < kFiles; ++i) {
    EXPECT_TRUE(memory.files.Exists(std::string(kProduct) + "\\file" + std::to_string(i) + ".dat"))
        << i;
  }
}

TEST_F(PackageCopyTest, ALargeFileTellsTheProgressOfItsParts) {
  AddPackageFile("large.dat", std::string(3 * platform::MemoryFileSystem::kCopyPartSize, 'x'));
  EXPECT_TRUE(Copy());
  EXPECT_EQ(progress.parts, 1 + 3) << "as its copy starts and after each part";
}

TEST_F(PackageCopyTest, ReplacesReadOnlyFilesAndLeavesNeitherEndReadOnly) {
  AddPackageFile("ZV_BatchPlot2008.ARX", "new module", kArchive | kReadOnly | kHidden);
  AddPackageFile("Zelvar.Ini", "new settings", kReadOnly);
  memory.files.AddFile(std::string(kProduct) + "\\ZV_BatchPlot2008.ARX", "old", kReadOnly);
  memory.files.AddFile(std::string(kAppData) + "\\Zelvar\\Zelvar.Ini", "old", kReadOnly);

  EXPECT_TRUE(Copy());

  const std::string module = std::string(kProduct) + "\\ZV_BatchPlot2008.ARX";
  const std::string settings = std::string(kAppData) + "\\Zelvar\\Zelvar.Ini";
  EXPECT_EQ(memory.files.ReadFile(module), "new module");
  EXPECT_EQ(memory.files.ReadFile(settings), "new settings");
  for (const std::string& path : {module, settings, std::string("C:\\Dist\\Data\\Zelvar.Ini"),
                                 std::string("C:\\Dist\\Data\\ZV_BatchPlot2008.ARX")}) {
    EXPECT_EQ(memory.files.Attributes(path) & kReadOnly, 0u) << path;
  }
  // Only the read-only bit goes: the installed module keeps the package file's hidden bit.
  EXPECT_NE(memory.files.Attributes(module) & kHidden, 0u);
  EXPECT_TRUE(memory.messages.Shown().empty());
}

// Fails the copies to one destination a given number of times.
void FailCopiesTo(platform::MemoryFileSystem& files, std::string destination, int* failures) {
  files.SetWriteHook([destination, failures](const std::string& source, const std::string& to) {
    if (!source.empty() && to == destination && *failures > 0) {
      --*failures;
      return false;
    }
    return true;
  });
}

TEST_F(PackageCopyTest, RetriesUntilTheCopySucceedsAskingEachTime) {
  AddPackageFile("ZV_BatchPlot2013.ARX", "module");
  const std::string destination = std::string(kProduct) + "\\ZV_BatchPlot2013.ARX";
  int failures = 3;
  FailCopiesTo(memory.files, destination, &failures);
  for (int i = 0; i < 3; ++i) {
    memory.messages.QueueAnswer(platform::mb::kIdRetry);
  }

  EXPECT_TRUE(Copy());

  ASSERT_EQ(memory.messages.Shown().size(), 3u);
  const platform::ShownMessageBox& prompt = memory.messages.Shown()[0];
  EXPECT_EQ(prompt.owner, kOwner);
  EXPECT_EQ(prompt.caption, "Zelvar软件安装");
  EXPECT_EQ(prompt.flags, platform::mb::kAbortRetryIgnore);
  EXPECT_EQ(prompt.text, "拷贝文件 " + destination +
                             " 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统");
  EXPECT_EQ(memory.files.ReadFile(destination), "module");
}

TEST_F(PackageCopyTest, IgnoreGoesOnWithTheOtherFilesAndAbortStopsAtOnce) {
  AddPackageFile("a.dat");
  AddPackageFile("b.dat");
  AddPackageFile("c.dat");
  int failures = 1000;
  // Whichever file the listing gives first fails; Ignore, and the other two arrive.
  std::vector<std::string> attempts;
  memory.files.SetWriteHook([&](const std::string& source, const std::string& to) {
    if (!platform::MemoryFileSystem::IsCopy(source)) {
      return true;
    }
    attempts.push_back(to);
    return !(to == attempts.front() && failures-- > 0);
  });
  memory.messages.QueueAnswer(platform::mb::kIdIgnore);
  EXPECT_TRUE(Copy());
  ASSERT_EQ(memory.messages.Shown().size(), 1u);
  EXPECT_FALSE(memory.files.Exists(attempts.front()));
  EXPECT_EQ(attempts.size(), 3u);

  // A second installation over the same package: Abort at the first failure ends the copy.
  attempts.clear();
  memory.messages.QueueAnswer(platform::mb::kIdAbort);
  EXPECT_FALSE(Copy());
  EXPECT_EQ(attempts.size(), 1u) << "no copy may follow the Abort";
  EXPECT_EQ(memory.messages.Shown().size(), 2u);
}

TEST_F(PackageCopyTest, AMissingDataFolderStopsBeforeAnythingIsCreated) {
  memory.files.SetModulePath("C:\\Temp\\SetUp.exe");
  const platform::FileTree before = memory.files.Snapshot();

  EXPECT_FALSE(Copy());

  EXPECT_TRUE(ChangesSince(before).empty());
  ASSERT_EQ(memory.messages.Shown().size(), 1u);
  EXPECT_EQ(memory.messages.Shown()[0].text,
            "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !");
  EXPECT_EQ(progress.steps, 0);
}

TEST_F(PackageCopyTest, ADataFolderThatCannotBeListedStopsWithTheDataFolderMessage) {
  AddPackageFile("ZV_BatchPlot2010.arx", "module");
  memory.files.DenyListing("C:\\Dist\\Data");
  const platform::FileTree before = memory.files.Snapshot();

  EXPECT_FALSE(Copy());

  ASSERT_EQ(memory.messages.Shown().size(), 1u);
  EXPECT_EQ(memory.messages.Shown()[0].text,
            "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !");
  EXPECT_EQ(ChangesSince(before), std::vector<std::string>{}) << "nothing is made";
  EXPECT_EQ(memory.files.OpenListingCount(), 0u);
}

TEST_F(PackageCopyTest, TheSettingsFileFindsTheUsersFolderWithoutAPPDATA) {
  AddPackageFile("Zelvar.Ini", "settings");
  const std::string shellFolder = "C:\\Users\\User\\AppData\\Roaming";

  memory.files.UnsetEnvironment("APPDATA");
  memory.files.SetAppDataFolder(shellFolder);
  EXPECT_TRUE(Copy());
  EXPECT_EQ(memory.files.ReadFile(shellFolder + "\\Zelvar\\Zelvar.Ini"), "settings");
  EXPECT_FALSE(memory.files.Exists("C:\\Zelvar\\Zelvar.Ini"));

  // A value too long for its buffer is not cut into some other folder either.
  memory.files.SetEnvironment("APPDATA", "C:\\" + std::string(300, 'x'));
  ASSERT_TRUE(memory.files.AddFile("C:\\Dist\\Data\\Zelvar.Ini", "settings 2"));
  EXPECT_TRUE(Copy());
  EXPECT_EQ(memory.files.ReadFile(shellFolder + "\\Zelvar\\Zelvar.Ini"), "settings 2");
  EXPECT_TRUE(memory.messages.Shown().empty());

  // Neither known: the copy is reported as failed, naming where it should have gone.
  memory.files.UnsetEnvironment("APPDATA");
  memory.files.FailAppDataFolder();
  const platform::FileTree before = memory.files.Snapshot();
  memory.messages.QueueAnswer(platform::mb::kIdIgnore);
  EXPECT_TRUE(Copy());
  ASSERT_EQ(memory.messages.Shown().size(), 1u);
  EXPECT_NE(memory.messages.Shown()[0].text.find("%APPDATA%\\Zelvar\\Zelvar.Ini"),
            std::string::npos);
  EXPECT_TRUE(ChangesSince(before).empty());
}

TEST_F(PackageCopyTest, APathTooLongForTheFileFunctionsIsAFailedCopyNeverACutOne) {
  AddPackageFile("ZV_BatchPlot2017.ARX", "module");
  // 250 characters of folder: the folder itself fits, the file's path does not.
  const std::string longFolder = "C:\\" + std::string(247, 'z');
  ASSERT_TRUE(memory.files.AddFolder(longFolder));
  const platform::FileTree before = memory.files.Snapshot();
  memory.messages.QueueAnswer(platform::mb::kIdRetry);
  memory.messages.QueueAnswer(platform::mb::kIdIgnore);

  EXPECT_TRUE(Copy(longFolder));

  EXPECT_EQ(memory.messages.Shown().size(), 2u);
  EXPECT_NE(memory.messages.Shown()[0].text.find(longFolder + "\\ZV_BatchPlot2017.ARX"),
            std::string::npos);
  EXPECT_TRUE(ChangesSince(before).empty());
}

TEST(PackageCopyJobTest, TakesTheFolderWithoutOneTrailingBackslash) {
  CountingProgress progress;
  EXPECT_EQ(PackageCopyJob("C:\\Zelvar\\", progress).targetFolder, "C:\\Zelvar");
  EXPECT_EQ(PackageCopyJob("C:\\Zelvar\\\\", progress).targetFolder, "C:\\Zelvar\\");
  EXPECT_EQ(PackageCopyJob("C:\\Zelvar", progress).targetFolder, "C:\\Zelvar");
}

}  // namespace
}  // namespace install
