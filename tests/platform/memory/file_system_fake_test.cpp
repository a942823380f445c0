// What only the in-memory file system can do: refuse writes in chosen folders, fail a chosen
// copy, count open listings, and show the whole machine before and after.

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "platform/memory/memory_file_system.h"

namespace platform {
namespace {

using ::testing::ElementsAre;

constexpr const char* kAcad = "C:\\Program Files\\AutoCAD 2010";

class MemoryFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(files.AddFile("C:\\Pack\\a.shx", "A"));
    ASSERT_TRUE(files.AddFile("C:\\Pack\\b.shx", "B"));
    ASSERT_TRUE(files.AddFolder(std::string(kAcad) + "\\Fonts"));
  }

  static std::string Acad(const char* relative) { return std::string(kAcad) + "\\" + relative; }

  MemoryFileSystem files;
};

TEST_F(MemoryFileSystemTest, DeniedFolderRefusesEveryWriteBelowIt) {
  ASSERT_TRUE(files.AddFile(Acad("Fonts\\txt.shx"), "T", attr::kReadOnly));
  files.DenyWrites("c:\\program files\\autocad 2010");
  const FileTree before = files.Snapshot();

  EXPECT_FALSE(files.Copy("C:\\Pack\\a.shx", Acad("Fonts\\a.shx").c_str(), false));
  EXPECT_EQ(files.LastError(), fs_error::kAccessDenied);
  EXPECT_FALSE(files.Copy("C:\\Pack\\a.shx", Acad("a.shx").c_str(), false));
  EXPECT_FALSE(files.CreateFolder(Acad("Support").c_str()));
  EXPECT_EQ(files.LastError(), fs_error::kAccessDenied);
  EXPECT_EQ(files.MakeFolder(Acad("Support").c_str()), -1);
  EXPECT_FALSE(files.SetAttributes(Acad("Fonts").c_str(), attr::kHidden));
  EXPECT_FALSE(files.SetAttributes(Acad("Fonts\\txt.shx").c_str(), attr::kNormal));
  EXPECT_EQ(files.Snapshot(), before);

  // Reading stays allowed, and _access answers from the read-only bit alone, as the C runtime
  // does: it cannot tell a program that it lacks the rights.
  EXPECT_EQ(files.Access(Acad("Fonts").c_str(), 6), 0);
  EXPECT_EQ(files.Access(Acad("Fonts\\txt.shx").c_str(), 4), 0);
  EXPECT_TRUE(files.Copy(Acad("Fonts\\txt.shx").c_str(), "C:\\Pack\\txt.shx", false));
  EXPECT_TRUE(files.Copy("C:\\Pack\\a.shx", "C:\\Program Files\\a.shx", false))
      << "the folder above is not denied";
}

// A running program's .exe cannot be deleted (Windows and Wine refuse it alike; see
// RunningProgramFileOnWine): here a test says which file a process holds.
TEST_F(MemoryFileSystemTest, HeldFilesDeniedFoldersAndTheRemoveHookRefuseDeletion) {
  ASSERT_TRUE(files.AddFile(Acad("UnInstall.exe"), "U"));
  files.HoldInUse(Acad("uninstall.EXE"));
  files.SetRemoveHook([](const std::string& path) { return path != "C:\\Pack\\b.shx"; });
  const FileTree before = files.Snapshot();

  EXPECT_FALSE(files.RemoveFile(Acad("UnInstall.exe").c_str()));
  EXPECT_EQ(files.LastError(), fs_error::kAccessDenied);
  EXPECT_FALSE(files.RemoveFile("C:\\Pack\\b.shx"));
  EXPECT_EQ(files.LastError(), fs_error::kAccessDenied);
  files.DenyWrites(Acad("Fonts"));
  EXPECT_FALSE(files.RemoveFolder(Acad("Fonts").c_str()));
  EXPECT_EQ(files.LastError(), fs_error::kAccessDenied);
  EXPECT_EQ(files.Snapshot(), before);

  files.HoldInUse(Acad("UnInstall.exe"), false);
  EXPECT_TRUE(files.RemoveFile(Acad("UnInstall.exe").c_str()));
  EXPECT_TRUE(files.RemoveFile("C:\\Pack\\a.shx"));
}

TEST_F(MemoryFileSystemTest, AnExistingFolderIsReportedEvenWhereWritesAreDenied) {
  files.DenyWrites(kAcad);
  EXPECT_FALSE(files.CreateFolder(Acad("Fonts").c_str()));
  EXPECT_EQ(files.LastError(), fs_error::kAlreadyExists);
}

TEST_F(MemoryFileSystemTest, AnUnlistableFolderRefusesEveryLookupInsideButNotItsAttributes) {
  files.DenyListing("c:\\pack\\");
  FindHandle listing;
  FindData entry;
  for (const char* pattern : {"C:\\Pack\\*.*", "C:\\Pack\\a.shx", "C:\\PACK\\*"}) {
    EXPECT_FALSE(files.FindFirst(pattern, listing, entry)) << pattern;
    EXPECT_EQ(files.LastError(), fs_error::kAccessDenied) << pattern;
  }
  EXPECT_TRUE(files.FindFirst("C:\\Pack", listing, entry)) << "its parent still lists it";
  EXPECT_EQ(files.GetAttributes("C:\\Pack\\a.shx"), attr::kArchive);
  EXPECT_TRUE(files.FindFirst(Acad("Fonts\\*").c_str(), listing, entry));
}

TEST_F(MemoryFileSystemTest, TheWriteHookFailsTheCopyItChoosesAndSeesFullPaths) {
  std::vector<std::string> told;
  files.SetWriteHook([&](const std::string& source, const std::string& destination) {
    told.push_back(source + " -> " + destination);
    return told.size() != 2;  // the second write fails
  });
  files.SetCurrentFolder("C:\\Pack");

  EXPECT_TRUE(files.Copy("a.shx", Acad("Fonts\\\\a.shx").c_str(), false));
  EXPECT_FALSE(files.Copy("b.shx", Acad("Fonts\\b.shx").c_str(), false));
  EXPECT_EQ(files.LastError(), fs_error::kAccessDenied);
  EXPECT_TRUE(files.CreateFolder("Sub"));
  EXPECT_FALSE(files.Copy("missing.shx", "C:\\x.shx", false));

  EXPECT_THAT(told, ElementsAre("C:\\Pack\\a.shx -> " + Acad("Fonts\\a.shx"),
                                "C:\\Pack\\b.shx -> " + Acad("Fonts\\b.shx"), " -> C:\\Pack\\Sub",
                                "C:\\Pack\\missing.shx -> C:\\x.shx"));
  EXPECT_EQ(files.CopyAttempts(), 3u) << "failed attempts count too";
  EXPECT_EQ(files.FolderCreationAttempts(), 1u);
  EXPECT_FALSE(files.Exists(Acad("Fonts\\b.shx")));
  EXPECT_EQ(files.ReadFile(Acad("Fonts\\a.shx")), "A");
}

TEST_F(MemoryFileSystemTest, TheWriteHookCanFailAFolderCreation) {
  files.SetWriteHook([](const std::string& source, const std::string&) { return !source.empty(); });
  EXPECT_FALSE(files.CreateFolder("C:\\New"));
  EXPECT_EQ(files.MakeFolder("C:\\New"), -1);
  EXPECT_FALSE(files.Exists("C:\\New"));
  EXPECT_EQ(files.FolderCreationAttempts(), 2u);
  EXPECT_TRUE(files.Copy("C:\\Pack\\a.shx", "C:\\a.shx", false));
}

TEST_F(MemoryFileSystemTest, EveryListingIsCountedUntilItsHandleGoesAway) {
  FindData data;
  FindHandle first;
  ASSERT_TRUE(files.FindFirst("C:\\Pack\\*", first, data));
  {
    FindHandle second;
    ASSERT_TRUE(files.FindFirst("C:\\Pack\\a.shx", second, data));
    EXPECT_EQ(files.OpenListingCount(), 2u);
  }
  EXPECT_EQ(files.OpenListingCount(), 1u);

  FindHandle moved = std::move(first);
  EXPECT_TRUE(files.FindNext(moved, data));
  EXPECT_FALSE(files.FindNext(first, data));
  EXPECT_EQ(files.LastError(), fs_error::kInvalidHandle);

  // A failed FindFirst closes what the handle held before.
  EXPECT_FALSE(files.FindFirst("C:\\Pack\\*.dll", moved, data));
  EXPECT_FALSE(moved.IsOpen());
  EXPECT_EQ(files.OpenListingCount(), 0u);

  MemoryFileSystem other;
  ASSERT_TRUE(other.AddFolder("C:\\Other"));
  FindHandle foreign;
  ASSERT_TRUE(other.FindFirst("C:\\*", foreign, data));
  EXPECT_FALSE(files.FindNext(foreign, data)) << "a listing of another file system";
}

TEST_F(MemoryFileSystemTest, ListingsAreNotSortedByName) {
  const std::vector<std::string> created = {"a.shx", "b.shx", "c.shx", "d.shx", "e.shx", "f.shx"};
  for (const std::string& name : created) ASSERT_TRUE(files.AddFile("C:\\Order\\" + name, ""));
  std::vector<std::string> listed;
  FindHandle listing;
  FindData data;
  for (bool more = files.FindFirst("C:\\Order\\*.shx", listing, data); more;
       more = files.FindNext(listing, data)) {
    listed.push_back(data.fileName);
  }
  ASSERT_EQ(listed.size(), created.size());
  EXPECT_NE(listed, created);
  std::vector<std::string> reversed(created.rbegin(), created.rend());
  EXPECT_NE(listed, reversed);
}

TEST_F(MemoryFileSystemTest, SnapshotShowsWhatACopyChanged) {
  ASSERT_TRUE(files.AddFile(Acad("Fonts\\b.shx"), "old B", attr::kReadOnly));
  const FileTree before = files.Snapshot();
  ASSERT_TRUE(files.SetAttributes(Acad("Fonts\\b.shx").c_str(), attr::kArchive));
  ASSERT_TRUE(files.Copy("C:\\Pack\\b.shx", Acad("Fonts\\b.shx").c_str(), false));
  ASSERT_TRUE(files.Copy("C:\\Pack\\a.shx", Acad("Fonts\\A.shx").c_str(), false));

  const FileTree after = files.Snapshot();
  EXPECT_EQ(after.at(Acad("Fonts\\A.shx")), (FileState{attr::kArchive, "A"}));
  EXPECT_EQ(after.at("C:\\"), (FileState{attr::kDirectory, ""}));
  EXPECT_THAT(DescribeChanges(before, after),
              ElementsAre("+ " + Acad("Fonts\\A.shx"),
                          "* " + Acad("Fonts\\b.shx") + " attributes 0x1 -> 0x20",
                          "* " + Acad("Fonts\\b.shx") + " contents"));
  EXPECT_THAT(DescribeChanges(after, before), ::testing::Contains("- " + Acad("Fonts\\A.shx")));
}

TEST_F(MemoryFileSystemTest, SharesAndDrivesAreRootsOfTheirOwn) {
  ASSERT_TRUE(files.AddShare("\\\\Server\\Plot"));
  EXPECT_FALSE(files.AddShare("C:\\Plot"));
  EXPECT_TRUE(files.Copy("C:\\Pack\\a.shx", "\\\\server\\plot\\a.shx", true));
  EXPECT_TRUE(files.CreateFolder("//SERVER/PLOT/Out"));
  EXPECT_EQ(files.ReadFile("\\\\Server\\Plot\\a.shx"), "A");

  FindHandle listing;
  FindData data;
  ASSERT_TRUE(files.FindFirst("\\\\Server\\Plot\\*", listing, data));
  EXPECT_NE(data.fileName, ".") << "the root of a share lists no dot entries";

  EXPECT_FALSE(files.CreateFolder("D:\\Data"));
  EXPECT_EQ(files.LastError(), fs_error::kPathNotFound);
  files.AddDrive('d');
  EXPECT_TRUE(files.CreateFolder("D:\\Data"));
  ASSERT_TRUE(files.SetCurrentFolder("d:\\data"));
  char current[kMaxPath];
  EXPECT_EQ(files.GetCurrentFolder(kMaxPath, current), 7u);
  EXPECT_STREQ(current, "d:\\data") << "kept as the caller spelled it";
  EXPECT_TRUE(files.AddFile("\\Zelvar\\x.txt", "x")) << "drive-relative: the root of D:";
  EXPECT_TRUE(files.Exists("D:\\Zelvar\\x.txt"));
}

TEST_F(MemoryFileSystemTest, SetUpHelpersRefuseWhatCannotBe) {
  EXPECT_FALSE(files.AddFile("C:\\Pack\\a.shx\\inside.txt", ""));
  EXPECT_FALSE(files.AddFolder("C:\\Pack\\a.shx"));
  EXPECT_FALSE(files.AddFile("C:\\Pack", "")) << "a folder is there";
  EXPECT_FALSE(files.AddFile("Q:\\a.txt", "")) << "no such drive";
  EXPECT_FALSE(files.SetCurrentFolder("C:\\Pack\\a.shx"));
  EXPECT_EQ(files.ReadFile("C:\\Pack"), std::nullopt);
  EXPECT_EQ(files.Attributes("C:\\Pack\\a.shx"), attr::kArchive);
  EXPECT_TRUE(files.AddFile("C:\\Pack\\a.shx", "new", attr::kNormal));
  EXPECT_EQ(files.Attributes("C:\\Pack\\a.shx"), attr::kNormal);
  EXPECT_EQ(files.ReadFile("c:\\pack\\A.SHX"), "new");
}

TEST_F(MemoryFileSystemTest, AppDataFolderAndModulePathCanBeSetAndFailed) {
  char path[kMaxPath];
  files.SetAppDataFolder("D:\\Profiles\\张三\\AppData\\Roaming");
  ASSERT_TRUE(files.GetAppDataFolder(path));
  EXPECT_STREQ(path, "D:\\Profiles\\张三\\AppData\\Roaming");
  files.FailAppDataFolder();
  EXPECT_FALSE(files.GetAppDataFolder(path));
  files.FailAppDataFolder(false);
  files.SetAppDataFolder(std::string(kMaxPath, 'a'));
  EXPECT_FALSE(files.GetAppDataFolder(path)) << "too long for SHGetFolderPathA's buffer";

  files.SetModulePath("E:\\安装\\SetUp.exe");
  EXPECT_EQ(files.GetModulePath(path, kMaxPath), 17u);
  EXPECT_STREQ(path, "E:\\安装\\SetUp.exe");
}

TEST_F(MemoryFileSystemTest, CopyReplacesAHiddenOrSystemFileOnlyWithOneThatHasTheBit) {
  ASSERT_TRUE(files.AddFile("C:\\system.dat", "old", attr::kSystem));
  ASSERT_TRUE(files.AddFile("C:\\hidden.dat", "old", attr::kHidden));
  ASSERT_TRUE(files.AddFile("C:\\new.dat", "new", attr::kSystem));
  EXPECT_FALSE(files.Copy("C:\\new.dat", "C:\\hidden.dat", false));
  EXPECT_EQ(files.LastError(), fs_error::kAccessDenied);
  EXPECT_TRUE(files.Copy("C:\\new.dat", "C:\\system.dat", false));
  EXPECT_EQ(files.Attributes("C:\\system.dat"), attr::kSystem | attr::kArchive);
}

}  // namespace
}  // namespace platform
