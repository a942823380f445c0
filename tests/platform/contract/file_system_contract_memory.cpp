// The contract cases held against the in-memory platform.

#include <memory>

#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_process_list.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

class MemorySubject final : public Subject {
 public:
  MemorySubject() {
    files_.SetModulePath("C:\\build\\tests\\platform_contract_tests.exe");
    files_.AddFile("C:\\build\\tests\\platform_contract_tests.exe", "MZ");
    files_.AddFolder(kScratch);
    files_.AddFolder("C:\\Users\\User\\AppData\\Roaming");
    processes_.SetProcesses({"System", "platform_contract_tests.exe", "explorer.exe"});
    processes_.SetLocalDate(kToday);
  }

  platform::FileSystem& Files() override { return files_; }
  platform::ProcessList& Processes() override { return processes_; }
  const std::string& Scratch() const override { return scratch_; }
  std::uint32_t LastError() override { return files_.LastError(); }

  bool PutFile(const std::string& path, std::string_view contents,
               std::uint32_t attributes) override {
    return files_.AddFile(path, contents, attributes);
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return files_.ReadFile(path);
  }
  bool SetEnvironment(const char* name, const char* value) override {
    if (value == nullptr) {
      files_.UnsetEnvironment(name);
    } else {
      files_.SetEnvironment(name, value);
    }
    return true;
  }
  bool SetCurrentFolder(const std::string& path) override { return files_.SetCurrentFolder(path); }
  bool MakeFolderLink(const std::string& link, const std::string& target) override {
    return files_.AddFolderLink(link, target);
  }
  bool HoldOpen(const std::string& path) override {
    files_.HoldOpen(path);
    return files_.Exists(path);
  }
  bool PutStream(const std::string& path, const std::string& stream,
                 std::string_view contents) override {
    return files_.AddStream(path, stream, contents);
  }
  std::optional<std::string> ReadStream(const std::string& path,
                                        const std::string& stream) override {
    return files_.ReadStream(path, stream);
  }
  std::optional<platform::FolderAccess> AccessOf(const std::string& path) override {
    return files_.FolderAccessOf(path);
  }
  std::vector<std::string> PendingRestartRemovals() override {
    return files_.PendingRestartRemovals();
  }
  // A MemoryProcessList starts with administrator rights.
  std::optional<bool> StartedAsAdministrator() override { return true; }
  platform::CalendarDate Today() override { return kToday; }

  KnownDifferences Differences() const override { return {}; }

 private:
  static constexpr const char* kScratch = "C:\\Temp\\contract";
  static constexpr platform::CalendarDate kToday{2024, 2, 29};
  platform::MemoryFileSystem files_;
  platform::MemoryProcessList processes_;
  std::string scratch_ = kScratch;
};

}  // namespace

std::unique_ptr<Subject> MakeMemorySubject() { return std::make_unique<MemorySubject>(); }

INSTANTIATE_TEST_SUITE_P(, FileSystemContract,
                         ::testing::Values(SubjectMaker{"Memory", &MakeMemorySubject}),
                         SubjectName);
INSTANTIATE_TEST_SUITE_P(, ProcessListContract,
                         ::testing::Values(SubjectMaker{"Memory", &MakeMemorySubject}),
                         SubjectName);

}  // namespace contract
