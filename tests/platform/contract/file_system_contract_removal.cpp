// Deleting files and removing folders: what DeleteFileA and RemoveDirectoryA refuse.

#include <string>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;

TEST_P(FileSystemContract, RemoveFileDeletesFilesOnlyAndNeverAReadOnlyOne) {
  ASSERT_TRUE(files().CreateFolder(In("Zelvar批打印软件").c_str()));
  ASSERT_TRUE(subject->PutFile(In("Zelvar批打印软件\\a.dll"), "a", attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("locked.dat"), "r", attr::kReadOnly));

  EXPECT_TRUE(files().RemoveFile(In("zelvar批打印软件\\A.DLL").c_str()));
  EXPECT_EQ(AttributesOf("Zelvar批打印软件\\a.dll"), attr::kInvalid);
  EXPECT_FALSE(files().RemoveFile(In("Zelvar批打印软件\\a.dll").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kFileNotFound);
  EXPECT_FALSE(files().RemoveFile(In("gone\\a.dll").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kPathNotFound);
  EXPECT_FALSE(files().RemoveFile(In("Zelvar批打印软件").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kAccessDenied);
  EXPECT_EQ(KeptBits(AttributesOf("Zelvar批打印软件")), attr::kDirectory);

  EXPECT_FALSE(files().RemoveFile(In("locked.dat").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kAccessDenied);
  EXPECT_EQ(subject->ReadFile(In("locked.dat")), "r");
  ASSERT_TRUE(files().SetAttributes(In("locked.dat").c_str(), attr::kNormal));
  EXPECT_TRUE(files().RemoveFile(In("locked.dat").c_str()));
  EXPECT_EQ(AttributesOf("locked.dat"), attr::kInvalid);
}

TEST_P(FileSystemContract, RemoveFolderRemovesOnlyAnEmptyFolder) {
  ASSERT_TRUE(files().CreateFolder(In("Zelvar批打印软件").c_str()));
  ASSERT_TRUE(files().CreateFolder(In("Zelvar批打印软件\\sub").c_str()));
  ASSERT_TRUE(subject->PutFile(In("Zelvar批打印软件\\sub\\a.dll"), "a", attr::kArchive));

  EXPECT_FALSE(files().RemoveFolder(In("Zelvar批打印软件").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kDirNotEmpty);
  EXPECT_FALSE(files().RemoveFolder(In("Zelvar批打印软件\\sub\\a.dll").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kDirectory);
  EXPECT_EQ(subject->ReadFile(In("Zelvar批打印软件\\sub\\a.dll")), "a");

  ASSERT_TRUE(files().RemoveFile(In("Zelvar批打印软件\\sub\\a.dll").c_str()));
  EXPECT_TRUE(files().RemoveFolder(In("zelvar批打印软件\\SUB\\").c_str()));
  EXPECT_TRUE(files().RemoveFolder(In("Zelvar批打印软件").c_str()));
  EXPECT_EQ(AttributesOf("Zelvar批打印软件"), attr::kInvalid);
  EXPECT_FALSE(files().RemoveFolder(In("Zelvar批打印软件").c_str()));
  EXPECT_EQ(subject->LastError(), fs_error::kFileNotFound);
  EXPECT_EQ(KeptBits(files().GetAttributes(subject->Scratch().c_str())), attr::kDirectory);
}

}  // namespace
}  // namespace contract
