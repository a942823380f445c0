#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/process_list.h"

namespace platform {

// The processes of a machine as a list of executable names. A snapshot holds the list as it
// was when the snapshot was taken, as Tool Help's does.
class MemoryProcessList final : public ProcessList {
 public:
  MemoryProcessList() = default;
  MemoryProcessList(const MemoryProcessList&) = delete;
  MemoryProcessList& operator=(const MemoryProcessList&) = delete;

  bool TakeSnapshot(ProcessSnapshot& snapshot) override;
  bool First(ProcessSnapshot& snapshot, ProcessEntry& entry) override;
  bool Next(ProcessSnapshot& snapshot, ProcessEntry& entry) override;
  bool RunsAsAdministrator() override { return administrator_; }
  CalendarDate LocalDate() override { return today_; }
  bool RunsUnderWow64() override { return wow64_; }

  // Bare names ("acad.exe"), in the order the walk gives them. A name longer than the 259
  // bytes szExeFile holds comes out cut to 259.
  void SetProcesses(std::vector<std::string> exeNames) { running_ = std::move(exeNames); }
  void AddProcess(std::string exeName) { running_.push_back(std::move(exeName)); }
  // While set, TakeSnapshot fails (as CreateToolhelp32Snapshot can under low resources).
  void FailSnapshots(bool fail = true) { failSnapshots_ = fail; }
  // Whether this process has administrator rights; it has them until told otherwise.
  void SetAdministrator(bool administrator) { administrator_ = administrator; }
  // The day the clock shows; a fixed day until told otherwise, so that tests never depend on
  // when they run.
  void SetLocalDate(CalendarDate today) { today_ = today; }
  // Whether this is a 32-bit program on 64-bit Windows; it is a 64-bit one until told otherwise.
  void SetWow64Process(bool wow64) { wow64_ = wow64; }

  std::size_t OpenSnapshotCount() const { return snapshots_.size(); }
  std::size_t SnapshotsTaken() const { return snapshotsTaken_; }

 private:
  struct Walk {
    std::vector<std::string> names;
    std::size_t next = 0;
  };

  void ReleaseHandle(std::uintptr_t handle) override { snapshots_.erase(handle); }
  bool Give(ProcessSnapshot& snapshot, bool fromStart, ProcessEntry& entry);

  std::vector<std::string> running_;
  bool failSnapshots_ = false;
  bool administrator_ = true;
  CalendarDate today_{2024, 5, 20};
  bool wow64_ = false;
  std::map<std::uintptr_t, Walk> snapshots_;
  std::uintptr_t nextHandle_ = 0x2000;
  std::size_t snapshotsTaken_ = 0;
};

}  // namespace platform
