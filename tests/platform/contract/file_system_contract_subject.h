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
