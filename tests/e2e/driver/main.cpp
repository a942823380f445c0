// e2e-driver.exe: drives SetUp.exe inside a Wine prefix the way a user does, and checks what the
// program shows at each step against what the seeded machine and the edition call for.
//
//   e2e-driver.exe --dist FOLDER [--program SetUp.exe] [--shots FOLDER]
//                  [--bits 64|32] [--found YEAR,YEAR,...] [--any-caption] STEP...
//
// Steps, run in the order given:
//   launch           start the program from the distribution folder, wait for its dialog
//   check-choosing   every control's state, text and place in the Choosing look
//   check-paint      colours and text backgrounds, read back from the screen
//   check-dpi:DPI    the screen is at DPI, and the pictures are drawn at it, whole
//   shot:NAME        have the test script photograph the screen
//   untick-all       untick every offered release (Install disabled), tick one (enabled)
//   end-cancel       click Cancel: the program ends
//   end-close-box    close the dialog with its close box: the program ends
//   set-folder:PATH  type PATH into the folder box
//   click-install    click Install
//   expect-message:NAME  wait for the message box NAME (acad-running, data-missing,
//                    copy-failed, invalid-folder, per-user) and check its text and owner
//   answer:BUTTON    click ok, abort, retry or ignore in that message box
//   watch-copy       after click-install, until the finished look: the dialog is never hung,
//                    answers, its bar moves; clicks on Cancel and Install are sent meanwhile
//   wait-finished    wait for the finished look and check it and the window's new height
//   end-finish       click 安装完成: the program ends
//   enter-stays:folder|box   press Enter with the focus in the folder box or on the first
//                    offered release box: the dialog stays open
//   end-enter        press Enter in the finished look: the program ends
//   expect-end       the program ends by itself (after Abort, or the data-folder message)
//   prepare:FILE     set up files in the prefix (see machine_state.h)
//   check:FILE       check files and registry values of the prefix
//   acad-start, acad-stop   a process named acad.exe runs between the two
//   browse           click 浏览... and wait for the folder chooser
//   check-chooser    the path box above the tree, the status line hidden, the start folder
//   chooser-type:PATH, chooser-ok, chooser-cancel, chooser-pick-computer
//   expect-chooser-message:question=PATH|invalid=PATH|not-created=PATH|open|closed
//   check-folder-box:TEXT   the setup dialog's folder box shows TEXT
//
// Prints one PASS or FAIL line per check and exits 0 only if every check passed.

#include <windows.h>

#include <cstdio>
#include <set>
#include <cstdlib>
#include <string>
#include <string_view>

#include "tests/e2e/driver/report.h"
#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/text.h"

namespace {

void PrintUsage() {
  std::fputs(
      "usage: e2e-driver.exe --dist FOLDER [--program NAME] [--shots FOLDER] [--bits 64|32]\n"
      "                      [--found YEAR,...] STEP...\n"
      "steps: see the comment at the top of main.cpp\n",
      stderr);
}

// "2008,2010,2021" or "none".
bool ParseYears(std::string_view list, std::set<int>& years) {
  if (list == "none") {
    return true;
  }
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string item(list.substr(0, comma));
    char* end = nullptr;
    const long year = std::strtol(item.c_str(), &end, 10);
    if (item.empty() || *end != '\0' || year < 2007 || year > 2025) {
      return false;
    }
    years.insert(static_cast<int>(year));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return true;
}

bool ParseArguments(int argc, char** argv, e2e::Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--dist" && hasValue) {
      options.distributionFolder = argv[++i];
    } else if (argument == "--program" && hasValue) {
      options.program = argv[++i];
    } else if (argument == "--shots" && hasValue) {
      options.screenshotFolder = argv[++i];
    } else if (argument == "--any-caption") {
      options.anyCaption = true;
    } else if (argument == "--bits" && hasValue) {
      options.setupBits = std::atoi(argv[++i]);
    } else if (argument == "--found" && hasValue) {
      if (!ParseYears(argv[++i], options.foundYears)) {
        std::fprintf(stderr, "e2e-driver: bad release list %s\n", argv[i]);
        return false;
      }
    } else if (e2e::Session::IsKnownStep(argument)) {
      options.steps.emplace_back(argument);
    } else {
      std::fprintf(stderr, "e2e-driver: unknown argument %s\n", argv[i]);
      return false;
    }
  }
  return !options.distributionFolder.empty() && !options.steps.empty() &&
         (options.setupBits == 32 || options.setupBits == 64);
}

// Started under the name acad.exe (the "acad-start" step), the driver stands in for a running
// AutoCAD: it waits until the step that started it ends it.
bool RunsAsAutoCAD() {
  char self[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string_view path(self, length < MAX_PATH ? length : 0);
  const std::string_view name = path.substr(path.find_last_of('\\') + 1);
  return name.size() == 8 && ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.data(), 8,
                                              "acad.exe", 8) == CSTR_EQUAL;
}

}  // namespace

int main(int argc, char** argv) {
  if (RunsAsAutoCAD()) {
    ::Sleep(INFINITE);
    return 0;
  }
  e2e::Options options;
  if (!ParseArguments(argc, argv, options)) {
    PrintUsage();
    return 2;
  }
  // A crash of the driver must not raise Wine's crash dialog and wait for a click.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);

  e2e::Report report;
  {
    e2e::Session session(options, report);
    for (const std::string& step : options.steps) {
      if (!session.Run(step)) {
        report.Note(e2e::Cat({"step ", step, " failed; the run stops here"}));
        break;
      }
    }
  }
  std::printf("e2e-driver: %d passed, %d failed\n", report.Passes(), report.Failures());
  if (report.Passes() == 0 && report.Failures() == 0) {
    std::puts("e2e-driver: nothing was checked");
    return 1;
  }
  return report.Failures() == 0 ? 0 : 1;
}
