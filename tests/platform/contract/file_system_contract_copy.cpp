// CopyFileA as the setup meets it: replacing files the user or an earlier version left
// behind, and failing cleanly where there is nothing to copy or nowhere to put it.

#include <string>

#include "platform/memory/memory_file_system.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

namespace attr = platform::attr;
namespace fs_error = platform::fs_error;

TEST_P(FileSystemContract, CopyRefusesToReplaceAReadOnlyFile) {
  ASSERT_TRUE(subject->PutFile(In("new.dat"), "new", attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("old.dat"), "old", attr::kReadOnly));
  const bool copied = files().Copy(In("new.dat").c_str(), In("old.dat").c_str(), false);
  const std::uint32_t error = subject->LastError();
  if (subject->Differences().readOnlyDestinationReplaced) {
    // Wine run by root differs from Windows here: Unix permissions do not stop root.
    EXPECT_TRUE(copied);
    EXPECT_EQ(subject->ReadFile(In("old.dat")), "new");
    return;
  }
  EXPECT_FALSE(copied);
  EXPECT_EQ(error, fs_error::kAccessDenied);
  EXPECT_EQ(subject->ReadFile(In("old.dat")), "old");
  EXPECT_EQ(KeptBits(AttributesOf("old.dat")), attr::kReadOnly);
}

TEST_P(FileSystemContract, CopyRefusesToReplaceAHiddenFileWithAVisibleOne) {
  ASSERT_TRUE(subject->PutFile(In("visible.dat"), "visible", attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("hidden.dat"), "hidden", attr::kHidden));
  const bool copied = files().Copy(In("visible.dat").c_str(), In("hidden.dat").c_str(), false);
  const std::uint32_t error = subject->LastError();
  if (subject->Differences().hiddenDestinationReplaced) {
    // Wine differs from Windows here: its CopyFileA does not apply this rule of CreateFile.
    EXPECT_TRUE(copied);
    EXPECT_EQ(subject->ReadFile(In("hidden.dat")), "visible");
  } else {
    EXPECT_FALSE(copied);
    EXPECT_EQ(error, fs_error::kAccessDenied);
    EXPECT_EQ(subject->ReadFile(In("hidden.dat")), "hidden");
  }

  // A hidden file may replace a hidden one: the new file keeps the bit the old one had.
  ASSERT_TRUE(subject->PutFile(In("hidden.new"), "hidden new", attr::kHidden));
  ASSERT_TRUE(subject->PutFile(In("hidden.old"), "hidden old", attr::kHidden));
  EXPECT_TRUE(files().Copy(In("hidden.new").c_str(), In("hidden.old").c_str(), false));
  EXPECT_EQ(subject->ReadFile(In("hidden.old")), "hidden new");
}

TEST_P(FileSystemContract, CopyGivesTheCopyTheSourcesAttributesAndContents) {
  struct Source {
    const char* name;
    std::uint32_t attributes;
  };
  const Source sources[] = {{"plain", attr::kArchive},
                            {"readonly", attr::kReadOnly},
                            {"hidden", attr::kHidden},
                            {"both", attr::kReadOnly | attr::kHidden},
                            {"system", attr::kSystem}};
  for (const Source& source : sources) {
    SCOPED_TRACE(source.name);
    const std::string from = In(std::string(source.name) + ".src");
    const std::string to = In(std::string(source.name) + ".copy");
    ASSERT_TRUE(subject->PutFile(from, source.name, source.attributes));
    ASSERT_TRUE(files().Copy(from.c_str(), to.c_str(), true));
    EXPECT_EQ(KeptBits(files().GetAttributes(to.c_str())), KeptBits(source.attributes));
    EXPECT_EQ(subject->ReadFile(to), source.name);
    EXPECT_EQ(KeptBits(files().GetAttributes(from.c_str())), KeptBits(source.attributes));
  }
}

TEST_P(FileSystemContract, CopyFailsWithoutItsSourceOrTheDestinationsFolder) {
  ASSERT_TRUE(subject->PutFile(In("a.dat"), "a", attr::kArchive));
  struct Case {
    const char* source;
    const char* destination;
    std::uint32_t error;
  };
  const Case cases[] = {{"missing.dat", "b.dat", fs_error::kFileNotFound},
                        {"nofolder\\missing.dat", "b.dat", fs_error::kPathNotFound},
                        {"a.dat", "nofolder\\b.dat", fs_error::kPathNotFound},
                        {"a.dat", "a.dat\\b.dat", fs_error::kPathNotFound}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.source) + " -> " + c.destination);
    EXPECT_FALSE(files().Copy(In(c.source).c_str(), In(c.destination).c_str(), false));
    EXPECT_EQ(subject->LastError(), c.error);
    EXPECT_EQ(AttributesOf(c.destination), attr::kInvalid);
  }
}

TEST_P(FileSystemContract, CopyRefusesAFolderAsSourceOrDestination) {
  ASSERT_TRUE(files().CreateFolder(In("Folder").c_str()));
  ASSERT_TRUE(subject->PutFile(In("a.dat"), "a", attr::kArchive));

  EXPECT_FALSE(files().Copy(In("Folder").c_str(), In("b.dat").c_str(), false));
  EXPECT_EQ(subject->LastError(), fs_error::kAccessDenied);
  EXPECT_EQ(AttributesOf("b.dat"), attr::kInvalid);

  EXPECT_FALSE(files().Copy(In("a.dat").c_str(), In("Folder").c_str(), false));
  EXPECT_EQ(subject->LastError(), fs_error::kAccessDenied);
  EXPECT_EQ(KeptBits(AttributesOf("Folder")), attr::kDirectory);
}

TEST_P(FileSystemContract, FailIfExistsKeepsTheFileThatIsThereWhateverItsCase) {
  ASSERT_TRUE(subject->PutFile(In("new.dat"), "new", attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("old.dat"), "old", attr::kArchive));
  for (const char* name : {"old.dat", "OLD.DAT"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(files().Copy(In("new.dat").c_str(), In(name).c_str(), true));
    EXPECT_EQ(subject->LastError(), fs_error::kFileExists);
    EXPECT_EQ(subject->ReadFile(In("old.dat")), "old");
  }

  // Replacing through another spelling changes the contents, not the stored name.
  EXPECT_TRUE(files().Copy(In("new.dat").c_str(), In("OLD.DAT").c_str(), false));
  EXPECT_EQ(subject->ReadFile(In("old.dat")), "new");
  EXPECT_EQ(ListNames(In("old.*")), std::vector<std::string>{"old.dat"});
}

TEST_P(FileSystemContract, CopyOntoItselfFailsAndLeavesTheFile) {
  ASSERT_TRUE(subject->PutFile(In("a.dat"), "a", attr::kArchive));
  EXPECT_FALSE(files().Copy(In("a.dat").c_str(), In("A.DAT").c_str(), false));
  EXPECT_EQ(subject->LastError(), fs_error::kSharingViolation);
  EXPECT_EQ(subject->ReadFile(In("a.dat")), "a");
}

// CopyFileExA with a progress routine, as the package copy calls it: the copy CopyFileA makes,
// told of its parts while it runs, and of nothing when it fails before it starts.
TEST_P(FileSystemContract, ACopyReportingItsPartsCopiesAsCopyDoes) {
  struct Parts final : platform::CopyProgress {
    int told = 0;
    void OnPartCopied() override { ++told; }
  } parts;
  // More than one part of any size Windows picks.
  const std::string large(3 * 1024 * 1024 + 17, 'x');
  ASSERT_TRUE(subject->PutFile(In("large.dat"), large, attr::kArchive));
  ASSERT_TRUE(subject->PutFile(In("old.dat"), "old", attr::kArchive));
  EXPECT_FALSE(files().CopyReporting(In("missing.dat").c_str(), In("b.dat").c_str(), false, parts));
  EXPECT_EQ(subject->LastError(), fs_error::kFileNotFound);
  EXPECT_EQ(parts.told, 0);

  EXPECT_TRUE(files().CopyReporting(In("large.dat").c_str(), In("old.dat").c_str(), false, parts));
  EXPECT_EQ(subject->ReadFile(In("old.dat")), large);
  if (subject->Differences().copyProgressNeverReported) {
    EXPECT_EQ(parts.told, 0);
  } else {
    EXPECT_GE(parts.told, 2) << "as the copy starts and after its parts";
  }
}

TEST_P(FileSystemContract, ATrailingBackslashAfterAFileNameNamesNothing) {
  ASSERT_TRUE(subject->PutFile(In("a.dat"), "a", attr::kArchive));
  ASSERT_TRUE(files().CreateFolder(In("Folder").c_str()));

  EXPECT_FALSE(files().Copy(In("a.dat\\").c_str(), In("b.dat").c_str(), false));
  EXPECT_EQ(subject->LastError(), fs_error::kInvalidName);
  EXPECT_FALSE(files().Copy(In("a.dat").c_str(), In("b.dat\\").c_str(), false));
  EXPECT_EQ(subject->LastError(), fs_error::kInvalidName);
  EXPECT_EQ(AttributesOf("b.dat"), attr::kInvalid);
  EXPECT_EQ(AttributesOf("a.dat\\"), attr::kInvalid);
  EXPECT_EQ(files().Access(In("a.dat\\").c_str(), 0), -1);

  // After a folder's name the backslash changes nothing.
  EXPECT_EQ(KeptBits(AttributesOf("Folder\\")), attr::kDirectory);
  EXPECT_EQ(files().Access(In("Folder\\").c_str(), 0), 0);
}

}  // namespace
}  // namespace contract
