// The running-AutoCAD check against the real process list: a stand-in program named acad.exe,
// built beside this test program, is started and ended.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "install/running_acad_check.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_process_list.h"

namespace install {
namespace {

std::string StandInPath() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string folder(path, length);
  folder.resize(folder.find_last_of('\\'));
  folder += "\\acad.exe";
  return folder;
}

// The stand-in, ended with the test whichever way the test ends.
class RunningProgram {
 public:
  explicit RunningProgram(const std::string& program) {
    std::string commandLine = "\"";
    commandLine += program;
    commandLine += "\" 60";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    started_ = CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info_) != FALSE;
  }
  ~RunningProgram() { End(); }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Started() const { return started_; }

  void End() {
    if (!started_) return;
    started_ = false;
    TerminateProcess(info_.hProcess, 0);
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }

 private:
  PROCESS_INFORMATION info_{};
  bool started_ = false;
};

TEST(RunningAutoCADOnWine, TrueWhileAProgramNamedAcadExeRunsAndFalseAfterItEnded) {
  platform::Win32ProcessList processes;
  ASSERT_FALSE(IsAutoCADRunning(processes)) << "this prefix runs no AutoCAD of its own";

  RunningProgram acad(StandInPath());
  ASSERT_TRUE(acad.Started()) << GetLastError();
  EXPECT_TRUE(IsAutoCADRunning(processes));

  acad.End();
  EXPECT_FALSE(IsAutoCADRunning(processes));
}

// The uninstaller relies on this: a running program's file cannot be deleted, so it never
// tries to delete itself. Wine refuses it as Windows does (the image is mapped).
TEST(RunningProgramFileOnWine, CannotBeDeletedUntilTheProgramHasEnded) {
  char temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string held =
      std::string(temp) + "held-" + std::to_string(GetCurrentProcessId()) + ".exe";
  ASSERT_TRUE(CopyFileA(StandInPath().c_str(), held.c_str(), FALSE));
  platform::Win32FileSystem files;
  {
    RunningProgram program(held);
    ASSERT_TRUE(program.Started());
    EXPECT_FALSE(files.RemoveFile(held.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  }
  EXPECT_TRUE(files.RemoveFile(held.c_str()));
  EXPECT_EQ(GetFileAttributesA(held.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace install
