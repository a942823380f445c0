// What a refusal says (LastError, ErrorText), folder protection, and removal at the next start.

#include <gmock/gmock.h>

#include <string>
#include <utility>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;
using platform::FolderAccess;
using ::testing::Contains;

TEST_P(FileSystemContract, LastErrorTellsAFileHeldOpenFromAReadOnlyOne) {
  ASSERT_TRUE(subject->PutFile(In("acad.lsp"), "held", attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("ro.dll"), "ro", attr::kReadOnly));
  ASSERT_TRUE(subject->HoldOpen(In("acad.lsp")));
  for (const auto& [name, error] : {std::pair{"acad.lsp", fs_error::kSharingViolation},
                                    std::pair{"ro.dll", fs_error::kAccessDenied}}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(files().RemoveFile(In(name).c_str()));
    EXPECT_EQ(files().LastError(), error);
    EXPECT_NE(AttributesOf(name), attr::kInvalid);
  }
}

TEST_P(FileSystemContract, ErrorTextIsOneLineAndNamesANumberTheSystemHasNoTextFor) {
  for (const std::uint32_t error : {fs_error::kAccessDenied, fs_error::kSharingViolation}) {
    const std::string text = files().ErrorText(error);
    ASSERT_FALSE(text.empty()) << error;
    EXPECT_NE(text.back(), '\n') << error;
    EXPECT_NE(text.back(), '\r') << error;
  }
  EXPECT_NE(files().ErrorText(0x2000FFFF).find("536936447"), std::string::npos);
}

TEST_P(FileSystemContract, ProtectFolderGivesAFolderEachAccessAndFailsOnAMissingOne) {
  const std::string folder = In("Zelvar批打印软件");
  ASSERT_TRUE(files().CreateFolder(folder.c_str()));
  for (const FolderAccess access :
       {FolderAccess::MachineWide, FolderAccess::CurrentUserOnly, FolderAccess::Inherited}) {
    SCOPED_TRACE(static_cast<int>(access));
    EXPECT_TRUE(files().ProtectFolder(folder.c_str(), access));
    if (!subject->Differences().folderDaclNotStored) {
      EXPECT_EQ(subject->AccessOf(folder), access);
    }
  }
  EXPECT_FALSE(files().ProtectFolder(In("gone").c_str(), FolderAccess::MachineWide));
  EXPECT_EQ(files().LastError(), fs_error::kFileNotFound);
}

TEST_P(FileSystemContract, RemoveAtRestartLeavesTheFileUntilThen) {
  if (subject->StartedAsAdministrator() != true) GTEST_SKIP() << "needs administrator rights";
  ASSERT_TRUE(subject->PutFile(In("UnInstall.exe"), "MZ", attr::kArchive));
  EXPECT_TRUE(files().RemoveAtRestart(In("UnInstall.exe").c_str()));
  EXPECT_EQ(subject->ReadFile(In("UnInstall.exe")), "MZ");
  EXPECT_THAT(subject->PendingRestartRemovals(), Contains(In("UnInstall.exe")));
}

}  // namespace
}  // namespace contract
