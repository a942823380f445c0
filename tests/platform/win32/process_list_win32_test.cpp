// The Tool Help snapshot under Wine: what only the real process list can show.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/ansi_text.h"
#include "platform/win32/win32_process_list.h"

namespace platform {
namespace {

// Wine answers GetProcessHandleCount with 0, so handles are checked one by one. Nothing else
// opens a handle while a case runs, so a closed value is not reused in between.
bool IsOpenHandle(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

int CountByName(Win32ProcessList& processes, ProcessSnapshot& snapshot, std::string_view name) {
  int count = 0;
  ProcessEntry entry;
  for (bool more = processes.First(snapshot, entry); more; more = processes.Next(snapshot, entry)) {
    if (ansi::EqualsNoCase(entry.exeFile, name)) ++count;
  }
  return count;
}

// A program started suspended, so it stays in the process list until it is ended.
class SuspendedProgram {
 public:
  explicit SuspendedProgram(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                              &info_) != FALSE;
  }
  ~SuspendedProgram() {
    if (!started_) return;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  SuspendedProgram(const SuspendedProgram&) = delete;
  SuspendedProgram& operator=(const SuspendedProgram&) = delete;

  bool Started() const { return started_; }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

TEST(Win32ProcessList, ASnapshotSeesAProgramStartedBeforeItAndNoneStartedAfter) {
  Win32ProcessList processes;
  ProcessSnapshot before;
  ASSERT_TRUE(processes.TakeSnapshot(before));
  const int pingsBefore = CountByName(processes, before, "ping.exe");

  char system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(system, MAX_PATH);
  ASSERT_TRUE(length > 0 && length < MAX_PATH);
  std::string commandLine = system;
  commandLine.append("\\ping.exe -n 1 127.0.0.1");
  SuspendedProgram ping(commandLine);
  ASSERT_TRUE(ping.Started()) << GetLastError();

  ProcessSnapshot after;
  ASSERT_TRUE(processes.TakeSnapshot(after));
  EXPECT_EQ(CountByName(processes, after, "PING.EXE"), pingsBefore + 1);
  EXPECT_EQ(CountByName(processes, before, "ping.exe"), pingsBefore);
}

TEST(Win32ProcessList, SnapshotsCloseTheirHandlesOnEveryWayOut) {
  Win32ProcessList processes;
  HANDLE moved = nullptr;
  HANDLE kept = nullptr;
  {
    ProcessSnapshot first;
    ASSERT_TRUE(processes.TakeSnapshot(first));
    ProcessSnapshot second;
    ASSERT_TRUE(processes.TakeSnapshot(second));
    ASSERT_TRUE(processes.TakeSnapshot(first));
    kept = reinterpret_cast<HANDLE>(first.Value());

    ProcessSnapshot taker = std::move(second);
    moved = reinterpret_cast<HANDLE>(taker.Value());
    ProcessEntry entry;
    EXPECT_FALSE(processes.First(second, entry));
    EXPECT_TRUE(processes.First(taker, entry));
    EXPECT_TRUE(IsOpenHandle(moved));
    EXPECT_TRUE(IsOpenHandle(kept));
  }
  EXPECT_FALSE(IsOpenHandle(moved));
  EXPECT_FALSE(IsOpenHandle(kept));
}

}  // namespace
}  // namespace platform
