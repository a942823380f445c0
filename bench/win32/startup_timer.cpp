// Start-up benchmark: how long a program takes from its start until its dialog is visible,
// SetUp.exe against the empty-dialog floor, started in turn in the same run so that both see
// the same machine, the same Wine and the same registry.
//
//   startup_timer.exe --runs N --floor FLOOR.exe --program SetUp.exe
//
// Each start is timed from just before CreateProcess until a visible top-level dialog window
// (class "#32770") of the new process exists, polled every millisecond. The dialog is then
// cancelled (IDCANCEL, as Esc would) and the process waited for, so the next start has the
// machine to itself. One start of each comes first and is not counted: it fills the caches of
// Wine's libraries. Prints the medians and their ratio; exits non-zero when a program could
// not be started, showed no dialog or did not end.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "bench/win32/figures.h"
#include "bench/win32/process_handles.h"

namespace {

constexpr DWORD kDialogTimeoutMs = 30000;
constexpr DWORD kEndTimeoutMs = 10000;

struct Launch {
  double msToDialog = 0;
  std::string caption;
};

struct WindowSearch {
  DWORD processId = 0;
  HWND found = nullptr;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !::IsWindowVisible(window)) {
    return TRUE;
  }
  char className[32] = {};
  ::GetClassNameA(window, className, sizeof className);
  if (std::strcmp(className, "#32770") != 0) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

using bench::ProcessHandles;

// The folder part of a path, for the program's working directory: programs are started from
// their own folder, as a user starts a setup from its distribution.
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::optional<Launch> TimeOneStart(const std::string& program) {
  std::string commandLine = "\"" + program + "\"";
  std::vector<char> writableCommandLine(commandLine.begin(), commandLine.end());
  writableCommandLine.push_back('\0');
  const std::string folder = FolderOf(program);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};

  const bench::Stopwatch clock;
  if (::CreateProcessA(program.c_str(), writableCommandLine.data(), nullptr, nullptr, FALSE, 0,
                       nullptr, folder.c_str(), &startup, &info) == 0) {
    std::fprintf(stderr, "startup_timer: cannot start %s (error %lu)\n", program.c_str(),
                 ::GetLastError());
    return std::nullopt;
  }
  const ProcessHandles process(info);
  WindowSearch search{process.Id(), nullptr};
  while (true) {
    ::EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
      break;
    }
    // The wait is the poll interval, and notices a program that ended without a dialog.
    if (::WaitForSingleObject(process.Process(), 1) == WAIT_OBJECT_0) {
      std::fprintf(stderr, "startup_timer: %s ended without showing a dialog\n", program.c_str());
      return std::nullopt;
    }
    if (clock.ElapsedMs() > kDialogTimeoutMs) {
      std::fprintf(stderr, "startup_timer: %s showed no dialog within %lu ms\n", program.c_str(),
                   kDialogTimeoutMs);
      ::TerminateProcess(process.Process(), 1);
      return std::nullopt;
    }
  }
  Launch launch;
  launch.msToDialog = clock.ElapsedMs();
  char caption[256] = {};
  ::GetWindowTextA(search.found, caption, sizeof caption);
  launch.caption = caption;

  ::PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  if (::WaitForSingleObject(process.Process(), kEndTimeoutMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "startup_timer: %s did not end after IDCANCEL\n", program.c_str());
    ::TerminateProcess(process.Process(), 1);
    return std::nullopt;
  }
  return launch;
}

struct Subject {
  const char* role;
  std::string path;
  std::vector<double> samples;
  std::string caption;
};

bool TimeStart(Subject& subject, bool counted) {
  const std::optional<Launch> launch = TimeOneStart(subject.path);
  if (!launch) {
    return false;
  }
  if (counted) {
    subject.samples.push_back(launch->msToDialog);
  }
  subject.caption = launch->caption;
  return true;
}

void PrintSubject(const Subject& subject, const bench::Summary& summary) {
  std::printf("  %-7s %s\n          ", subject.role, subject.path.c_str());
  bench::PrintSummary(summary);
  std::printf(", dialog \"%s\"\n", subject.caption.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const bench::Options options = bench::ReadOptions(argc, argv);
  const int runs = options.runs;
  Subject floor{"floor", options.floor, {}, {}};
  Subject program{"program", options.program, {}, {}};
  if (runs < 1 || floor.path.empty() || program.path.empty()) {
    std::fprintf(stderr, "usage: startup_timer --runs N --floor FLOOR.exe --program PROGRAM.exe\n");
    return 2;
  }
  if (!bench::TakeTurns(runs, floor, program, TimeStart)) return 1;

  const bench::Summary floorSummary = bench::Summarise(floor.samples);
  const bench::Summary programSummary = bench::Summarise(program.samples);
  std::printf("start-up until the dialog is visible, %d starts each (after one not counted)\n",
              runs);
  PrintSubject(floor, floorSummary);
  PrintSubject(program, programSummary);
  std::printf("  ratio   %.2f (program median / floor median)\n",
              programSummary.median / floorSummary.median);
  return 0;
}
