#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/running_acad_check.h"
#include "platform/memory/memory_process_list.h"

namespace install {
namespace {

bool RunningWith(std::vector<std::string> names) {
  platform::MemoryProcessList processes;
  processes.SetProcesses(std::move(names));
  const bool running = IsAutoCADRunning(processes);
  EXPECT_EQ(processes.OpenSnapshotCount(), 0u);
  return running;
}

TEST(RunningAutoCAD, AnyCaseAndAnyNameThatContainsAcadExeCounts) {
  EXPECT_TRUE(RunningWith({"System", "explorer.exe", "acad.exe"}));
  EXPECT_TRUE(RunningWith({"ACAD.EXE"}));
  EXPECT_TRUE(RunningWith({"Acad.exe", "notepad.exe"}));
  EXPECT_TRUE(RunningWith({"myacad.exe"}));
  EXPECT_TRUE(RunningWith({"批处理acad.exe"}));
}

TEST(RunningAutoCAD, OtherNamesDoNotCount) {
  EXPECT_FALSE(RunningWith({"acad32.exe", "acad.ex", "AutoCAD.exe", "acadlt.exe"}));
  EXPECT_FALSE(RunningWith({}));
}

TEST(RunningAutoCAD, WithoutAProcessListAutoCADCountsAsNotRunning) {
  platform::MemoryProcessList processes;
  processes.SetProcesses({"acad.exe"});
  processes.FailSnapshots();
  EXPECT_FALSE(IsAutoCADRunning(processes));
}

}  // namespace
}  // namespace install
