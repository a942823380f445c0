#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"
#include "platform/process_list.h"

namespace contract {

// Where a platform is known to behave otherwise than Windows does. The in-memory platform
// has none; Wine has these, each seen on Wine 8.0.
struct KnownDifferences {
  // Wine reports every file with the archive bit, whatever was set.
  bool archiveAlwaysReported = false;
  // Wine keeps no read-only bit on folders.
  bool folderReadOnlyDropped = false;
  // Wine's CopyFileA replaces a hidden or system file with one that lacks the bit.
  bool hiddenDestinationReplaced = false;
  // Wine maps read-only onto Unix permissions, which do not stop a program run by root.
  bool readOnlyDestinationReplaced = false;
  // Wine's GetEnvironmentVariableA counts UTF-16 units, not bytes, and cuts a double-byte
  // value there (one byte is lost per Chinese character).
  bool environmentCountsUtf16Units = false;
  // Wine takes a path of exactly 260 characters, where Windows stops at 259.
  bool pathOf260Taken = false;
  // Wine creates folders of 248 characters and more.
  bool longFoldersCreated = false;
  // Wine's CopyFileA takes a destination of any length.
  bool copyDestinationUnlimited = false;
  // Wine's MoveFileExA replaces a read-only file, run by root or by an ordinary Unix user.
  bool readOnlyReplacedByMove = false;
  // Wine's RemoveDirectoryA acts on the folder a Unix symbolic link leads to, not on the link:
  // it fails with 145 while that folder holds anything, and removes an empty one, leaving the
  // link behind dangling (GetFileAttributesA and DeleteFileA no longer see it).
  bool folderLinkRemovalFollowed = false;
  // Wine has no alternate data streams: "file:stream" names a file of its own beside the
  // file, which FindFirstFileA lists and CopyFileA leaves behind.
  bool streamsAreFilesBeside = false;
  // Wine's SetNamedSecurityInfoA answers success and stores nothing; GetNamedSecurityInfoA
  // reads back a DACL made up from the Unix mode (SYSTEM and the owner full control, Everyone
  // read and execute), whatever was set.
  bool folderDaclNotStored = false;
  // Wine's CopyFileExA copies without ever calling its progress routine.
  bool copyProgressNeverReported = false;
};

// One platform as the contract cases see it: the interfaces under test, and what the
// interfaces cannot do themselves (make a file, read one back, change the environment).
class Subject {
 public:
  virtual ~Subject() = default;

  virtual platform::FileSystem& Files() = 0;
  virtual platform::ProcessList& Processes() = 0;
  // An empty folder for this case alone: a full path without a trailing backslash.
  virtual const std::string& Scratch() const = 0;
  // GetLastError as the last call left it.
  virtual std::uint32_t LastError() = 0;

  virtual bool PutFile(const std::string& path, std::string_view contents,
                       std::uint32_t attributes) = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  virtual bool SetEnvironment(const char* name, const char* value) = 0;
  virtual bool SetCurrentFolder(const std::string& path) = 0;
  // A junction or folder symbolic link at `link` to the existing folder `target`.
  virtual bool MakeFolderLink(const std::string& link, const std::string& target) = 0;
  // Another program opens the file without sharing its deletion, until the case ends.
  virtual bool HoldOpen(const std::string& path) = 0;
  virtual bool PutStream(const std::string& path, const std::string& stream,
                         std::string_view contents) = 0;
  virtual std::optional<std::string> ReadStream(const std::string& path,
                                                const std::string& stream) = 0;
  // The protection a folder's DACL shows; nullopt when it cannot be read.
  virtual std::optional<platform::FolderAccess> AccessOf(const std::string& path) = 0;
  // The paths waiting to be deleted at the next start, full paths as they were given.
  virtual std::vector<std::string> PendingRestartRemovals() = 0;
  // Whether this process was started with administrator rights, told by other means than
  // the process list; nullopt where nothing else can tell.
  virtual std::optional<bool> StartedAsAdministrator() = 0;
  // The day this machine's clock shows in its time zone, told by other means than the
  // process list.
  virtual platform::CalendarDate Today() = 0;

  virtual KnownDifferences Differences() const = 0;
};

// A way to make a fresh subject for every case.
struct SubjectMaker {
  const char* name;
  std::unique_ptr<Subject> (*make)();
};

inline void PrintTo(const SubjectMaker& maker, std::ostream* out) { *out << maker.name; }

inline std::string SubjectName(const ::testing::TestParamInfo<SubjectMaker>& info) {
  return info.param.name;
}

// The fixture of both contract suites: a fresh subject per case.
class ContractTest : public ::testing::TestWithParam<SubjectMaker> {
 protected:
  void SetUp() override {
    subject = GetParam().make();
    ASSERT_NE(subject, nullptr);
  }

  platform::FileSystem& files() { return subject->Files(); }
  // A path in the scratch folder: In("a\\b.txt").
  std::string In(std::string_view relative) const {
    return subject->Scratch() + "\\" + std::string(relative);
  }

  std::unique_ptr<Subject> subject;
};

class FileSystemContract : public ContractTest {
 protected:
  // The attribute bits every platform keeps as Windows does (see KnownDifferences for the
  // archive bit and read-only folders).
  static std::uint32_t KeptBits(std::uint32_t attributes) {
    return attributes == platform::attr::kInvalid
               ? attributes
               : attributes & (platform::attr::kReadOnly | platform::attr::kHidden |
                               platform::attr::kSystem | platform::attr::kDirectory);
  }

  // Every entry the pattern lists, walked to the end and closed, sorted by name because no
  // platform promises an order; nullopt when FindFirst finds nothing.
  std::optional<std::vector<platform::FindData>> List(const std::string& pattern) {
    platform::FindHandle listing;
    platform::FindData data;
    if (!files().FindFirst(pattern.c_str(), listing, data)) return std::nullopt;
    std::vector<platform::FindData> entries{data};
    while (files().FindNext(listing, data)) entries.push_back(data);
    std::sort(entries.begin(), entries.end(),
              [](const auto& a, const auto& b) { return a.fileName < b.fileName; });
    return entries;
  }

  std::vector<std::string> ListNames(const std::string& pattern) {
    std::vector<std::string> names;
    for (const platform::FindData& entry : List(pattern).value_or(std::vector<platform::FindData>{})) {
      names.push_back(entry.fileName);
    }
    return names;
  }

  std::uint32_t AttributesOf(std::string_view relative) {
    return files().GetAttributes(In(relative).c_str());
  }
};
class ProcessListContract : public ContractTest {};

}  // namespace contract
