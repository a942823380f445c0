#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/memory/memory_process_list.h"

namespace platform {
namespace {

std::vector<std::string> WalkAll(MemoryProcessList& processes, ProcessSnapshot& snapshot) {
  std::vector<std::string> names;
  ProcessEntry entry;
  for (bool more = processes.First(snapshot, entry); more; more = processes.Next(snapshot, entry)) {
    names.push_back(entry.exeFile);
  }
  return names;
}

TEST(MemoryProcessList, ASnapshotKeepsTheProcessesOfItsMoment) {
  MemoryProcessList processes;
  processes.SetProcesses({"explorer.exe", "acad.exe"});
  ProcessSnapshot before;
  ASSERT_TRUE(processes.TakeSnapshot(before));
  processes.SetProcesses({"explorer.exe"});
  processes.AddProcess("SetUp.exe");

  EXPECT_EQ(WalkAll(processes, before), (std::vector<std::string>{"explorer.exe", "acad.exe"}));
  ProcessSnapshot after;
  ASSERT_TRUE(processes.TakeSnapshot(after));
  EXPECT_EQ(WalkAll(processes, after), (std::vector<std::string>{"explorer.exe", "SetUp.exe"}));
  EXPECT_EQ(processes.SnapshotsTaken(), 2u);
}

TEST(MemoryProcessList, EverySnapshotIsCountedUntilItsHandleGoesAway) {
  MemoryProcessList processes;
  processes.SetProcesses({"acad.exe"});
  ProcessSnapshot kept;
  ASSERT_TRUE(processes.TakeSnapshot(kept));
  {
    ProcessSnapshot passing;
    ASSERT_TRUE(processes.TakeSnapshot(passing));
    EXPECT_EQ(processes.OpenSnapshotCount(), 2u);
  }
  EXPECT_EQ(processes.OpenSnapshotCount(), 1u);
  ASSERT_TRUE(processes.TakeSnapshot(kept)) << "taking into an open handle closes it first";
  EXPECT_EQ(processes.OpenSnapshotCount(), 1u);

  ProcessSnapshot moved = std::move(kept);
  ProcessEntry entry;
  EXPECT_FALSE(processes.First(kept, entry));
  EXPECT_TRUE(processes.First(moved, entry));
  moved.Close();
  EXPECT_EQ(processes.OpenSnapshotCount(), 0u);
}

TEST(MemoryProcessList, AFailingSnapshotGivesNoHandle) {
  MemoryProcessList processes;
  processes.SetProcesses({"acad.exe"});
  processes.FailSnapshots();
  ProcessSnapshot snapshot;
  EXPECT_FALSE(processes.TakeSnapshot(snapshot));
  EXPECT_FALSE(snapshot.IsOpen());
  EXPECT_EQ(processes.OpenSnapshotCount(), 0u);
  processes.FailSnapshots(false);
  EXPECT_TRUE(processes.TakeSnapshot(snapshot));
}

TEST(MemoryProcessList, NamesAreCutToWhatSzExeFileHolds) {
  MemoryProcessList processes;
  processes.SetProcesses({std::string(300, 'a') + ".exe"});
  ProcessSnapshot snapshot;
  ASSERT_TRUE(processes.TakeSnapshot(snapshot));
  ProcessEntry entry;
  ASSERT_TRUE(processes.First(snapshot, entry));
  EXPECT_EQ(entry.exeFile, std::string(259, 'a'));
}

}  // namespace
}  // namespace platform
