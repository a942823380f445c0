// Logon benchmark: how long a console command takes from its start until it has ended, the
// per-user part of zelvar-deploy.exe (what Active Setup runs before the user's desktop
// appears) against an empty console program, started in turn in the same run.
//
//   logon_timer.exe --runs N --floor EMPTY.exe --program "COMMAND LINE" [--reset "COMMAND"]
//
// Each start is timed from just before CreateProcess until the process has ended. The reset
// command, run untimed before each start of the program, puts back the state of a user who has
// not had the per-user part yet, so every start does the whole work of a first logon. One start
// of each comes first and is not counted. A run that does not exit 0 spoils the benchmark.

#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "bench/win32/figures.h"
#include "bench/win32/process_handles.h"

namespace {

constexpr DWORD kEndTimeoutMs = 60000;

// The milliseconds until `commandLine` ended with exit code 0; nothing when it did not.
std::optional<double> TimeOneRun(const std::string& commandLine) {
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  const bench::Stopwatch clock;
  if (::CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &info) == 0) {
    std::fprintf(stderr, "logon_timer: cannot start %s (error %lu)\n", commandLine.c_str(),
                 ::GetLastError());
    return std::nullopt;
  }
  const bench::ProcessHandles process(info);
  if (::WaitForSingleObject(process.Process(), kEndTimeoutMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "logon_timer: %s did not end\n", commandLine.c_str());
    ::TerminateProcess(process.Process(), 1);
    return std::nullopt;
  }
  const double elapsed = clock.ElapsedMs();
  DWORD exitCode = 1;
  ::GetExitCodeProcess(process.Process(), &exitCode);
  if (exitCode != 0) {
    std::fprintf(stderr, "logon_timer: %s exited %lu\n", commandLine.c_str(), exitCode);
    return std::nullopt;
  }
  return elapsed;
}

struct Subject {
  const char* role;
  std::string commandLine;
  std::string reset;
  std::vector<double> samples;
};

bool TimeRun(Subject& subject, bool counted) {
  if (!subject.reset.empty() && !TimeOneRun(subject.reset)) return false;
  const std::optional<double> elapsed = TimeOneRun(subject.commandLine);
  if (!elapsed) return false;
  if (counted) subject.samples.push_back(*elapsed);
  return true;
}

void PrintSubject(const Subject& subject) {
  std::printf("  %-7s %s\n          ", subject.role, subject.commandLine.c_str());
  bench::PrintSummary(bench::Summarise(subject.samples));
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  const bench::Options options = bench::ReadOptions(argc, argv);
  const int runs = options.runs;
  Subject floor{"floor", options.floor, {}, {}};
  Subject program{"program", options.program, options.reset, {}};
  if (runs < 1 || floor.commandLine.empty() || program.commandLine.empty()) {
    std::fprintf(stderr,
                 "usage: logon_timer --runs N --floor EMPTY.exe --program \"COMMAND\" "
                 "[--reset \"COMMAND\"]\n");
    return 2;
  }
  if (!bench::TakeTurns(runs, floor, program, TimeRun)) return 1;
  std::printf("start until the end, %d runs each (after one not counted)\n", runs);
  PrintSubject(floor);
  PrintSubject(program);
  std::printf("  ratio   %.2f (program median / floor median)\n",
              bench::Summarise(program.samples).median / bench::Summarise(floor.samples).median);
  return 0;
}
