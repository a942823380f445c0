#pragma once

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/driver/expected_look.h"
#include "tests/e2e/driver/report.h"
#include "tests/e2e/driver/setup_process.h"

namespace e2e {

// What one run of the driver is told: where the program is, what the seeded machine holds,
// and the steps to take.
struct Options {
  std::string distributionFolder;  // the unpacked distribution: SetUp.exe beside Data
  std::string program = "SetUp.exe";
  std::string screenshotFolder;  // shared with the test script; empty: no screenshots
  int setupBits = 64;            // the edition under test
  // The dialog is known by its class alone: under another code page than 936 its Chinese
  // caption does not survive the narrow-character functions.
  bool anyCaption = false;
  std::set<int> foundYears;      // AutoCAD releases the seeded registry holds
  std::vector<std::string> steps;
};

// One run of the setup program, driven step by step. A step is a name, optionally followed by
// ":" and an argument ("shot:choosing"). The program started by "launch" is ended by an
// "end-..." step; one still running when the session ends is reported and terminated.
class Session {
 public:
  Session(const Options& options, Report& report) : options_(options), report_(report) {}
  ~Session();

  static bool IsKnownStep(std::string_view step);
  // False when the run cannot go on (no program, no dialog).
  bool Run(std::string_view step);

 private:
  bool Launch();
  bool CheckChoosing();
  bool CheckPainting();
  // The screen's DPI is `expected`, and the pictures are drawn at it.
  bool CheckDpi(const std::string& expected);
  bool TakeScreenshot(const std::string& name);
  bool UntickAll();
  bool EndByCancel();
  bool EndByCloseBox();

  // The installation (session_install.cpp).
  bool SetFolder(const std::string& folder);
  bool ClickInstall();
  bool ExpectMessage(const std::string& name);
  bool Answer(const std::string& button);
  bool WaitFinished();
  // While a long copy runs, until the finished look: the dialog is never hung and answers, its
  // bar moves, and clicks on Cancel and Install sent meanwhile do nothing (wait-finished and
  // end-finish show that).
  bool WatchLongCopy();
  bool EndByFinish();
  bool ExpectEndAfterAbort();
  bool StartAutoCADStandIn();
  bool StopAutoCADStandIn();
  // The keyboard (session_keys.cpp): Enter with the focus on the folder box ("folder") or on a
  // release box ("box") leaves the dialog open; in the finished look it ends the program.
  bool EnterLeavesDialogOpen(const std::string& where);
  bool EndByEnter();


  // The uninstaller (session_uninstall.cpp).
  bool StartUninstaller();
  bool ExpectUninstallMessage(const std::string& name);
  bool WaitUninstallerEnd();
  bool UninstallScreenshot(const std::string& name);
  // The program's message box now showing, if any.
  HWND FindMessageBox() const;
  HWND FindWindowCaptioned(const std::string& caption, HWND except) const;

  // The folder chooser (session_browse.cpp).
  bool Browse();
  bool CheckChooser();
  bool ChooserType(const std::string& path);
  bool ChooserPickComputer();
  bool ChooserOk();
  bool ChooserCancel();
  bool ExpectChooserMessage(const std::string& what);
  bool CheckFolderBox(const std::string& text);

  bool NeedDialog(std::string_view step);
  // Waits for the program to end after the action named; reports what it still shows if not.
  bool ExpectEnd(const std::string& action);
  DialogLook Choosing() const { return ChoosingLook(options_.setupBits, options_.foundYears); }

  const Options& options_;
  Report& report_;
  std::optional<SetupProcess> process_;
  HWND dialog_ = nullptr;
  int launches_ = 0;
  // The dialog's height in its Choosing look, in pixels.
  int choosingHeight_ = 0;
  HWND messageBox_ = nullptr;
  HWND chooser_ = nullptr;

  // A process named acad.exe while "acad-start" is in effect.
  std::optional<SetupProcess> autoCAD_;
};

}  // namespace e2e
