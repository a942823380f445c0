#include "tests/e2e/driver/session.h"

#include <string>

#include "tests/e2e/driver/look_checks.h"
#include "tests/e2e/driver/machine_state.h"
#include "tests/e2e/driver/screenshot_request.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/window_queries.h"
#include "ui/resource_ids.h"

namespace e2e {

namespace {
constexpr DWORD kDialogTimeoutMs = 30000;
constexpr DWORD kEndTimeoutMs = 10000;
constexpr DWORD kScreenshotTimeoutMs = 60000;
// Time for the program's last paint to reach the X server before the screen is read.
constexpr DWORD kPaintSettleMs = 500;

struct StepEntry {
  std::string_view name;
  bool takesArgument;
};
constexpr StepEntry kSteps[] = {
    {"launch", false},      {"check-choosing", false}, {"check-paint", false},
    {"shot", true},         {"untick-all", false},     {"end-cancel", false},
    {"end-close-box", false},  {"set-folder", true},     {"click-install", false},
    {"expect-message", true},  {"answer", true},         {"wait-finished", false},
    {"end-finish", false},     {"expect-end", false},    {"prepare", true},
    {"check", true},           {"acad-start", false},    {"acad-stop", false},
    {"browse", false},         {"check-chooser", false}, {"chooser-type", true},
    {"chooser-pick-computer", false}, {"chooser-ok", false}, {"chooser-cancel", false},
    {"expect-chooser-message", true}, {"check-folder-box", true},
    {"enter-stays", true},     {"end-enter", false},
    {"uninstall-start", false}, {"uninstall-expect", true}, {"uninstall-answer", true},
    {"uninstall-wait-end", false}, {"uninstall-shot", true}, {"check-dpi", true},
    {"watch-copy", false},
};

std::string Describe(const std::vector<HWND>& windows) {
  std::string text;
  for (HWND window : windows) {
    if (::IsWindowVisible(window)) {
      text += Cat({" ", DescribeWindow(window), ";"});
    }
  }
  return text.empty() ? " no visible window" : text;
}

bool IsTicked(HWND box) {
  const std::optional<LRESULT> check = ReadCheck(box);
  return check && *check == BST_CHECKED;
}
}  // namespace

Session::~Session() {
  if (process_ && process_->IsRunning()) {
    report_.Fail("SetUp.exe ended by the last step",
                 Cat({"still running, showing", Describe(TopLevelWindowsOf(process_->Id())),
                      "; terminated"}));
  }
}

bool Session::IsKnownStep(std::string_view step) {
  const std::string_view name = step.substr(0, step.find(':'));
  for (const StepEntry& entry : kSteps) {
    if (entry.name == name) {
      return entry.takesArgument == (step.find(':') != std::string_view::npos);
    }
  }
  return false;
}

bool Session::Run(std::string_view step) {
  const std::size_t colon = step.find(':');
  const std::string_view name = step.substr(0, colon);
  const std::string argument =
      colon == std::string_view::npos ? std::string() : std::string(step.substr(colon + 1));
  if (name == "launch") {
    return Launch();
  }
  // Steps on the machine, with or without the program.
  if (name == "prepare") {
    return PrepareMachine(argument, report_);
  }
  if (name == "check") {
    return CheckMachine(argument, report_);
  }
  if (name == "acad-start") {
    return StartAutoCADStandIn();
  }
  if (name == "acad-stop") {
    return StopAutoCADStandIn();
  }
  if (name == "uninstall-start") {
    return StartUninstaller();
  }
  if (name == "uninstall-expect") {
    return ExpectUninstallMessage(argument);
  }
  if (name == "uninstall-answer") {
    return Answer(argument);
  }
  if (name == "uninstall-shot") {
    return UninstallScreenshot(argument);
  }
  if (name == "uninstall-wait-end") {
    return WaitUninstallerEnd();
  }
  if (name == "expect-end") {
    return ExpectEndAfterAbort();
  }
  if (!NeedDialog(step)) {
    return false;
  }
  if (name == "check-choosing") {
    return CheckChoosing();
  }
  if (name == "check-paint") {
    return CheckPainting();
  }
  if (name == "check-dpi") {
    return CheckDpi(argument);
  }
  if (name == "shot") {
    return TakeScreenshot(argument);
  }
  if (name == "untick-all") {
    return UntickAll();
  }
  if (name == "end-cancel") {
    return EndByCancel();
  }
  if (name == "end-close-box") {
    return EndByCloseBox();
  }
  if (name == "set-folder") {
    return SetFolder(argument);
  }
  if (name == "click-install") {
    return ClickInstall();
  }
  if (name == "expect-message") {
    return ExpectMessage(argument);
  }
  if (name == "answer") {
    return Answer(argument);
  }
  if (name == "wait-finished") {
    return WaitFinished();
  }
  if (name == "watch-copy") {
    return WatchLongCopy();
  }
  if (name == "end-finish") {
    return EndByFinish();
  }
  if (name == "enter-stays") {
    return EnterLeavesDialogOpen(argument);
  }
  if (name == "end-enter") {
    return EndByEnter();
  }
  if (name == "browse") {
    return Browse();
  }
  if (name == "check-chooser") {
    return CheckChooser();
  }
  if (name == "chooser-type") {
    return ChooserType(argument);
  }
  if (name == "chooser-pick-computer") {
    return ChooserPickComputer();
  }
  if (name == "chooser-ok") {
    return ChooserOk();
  }
  if (name == "chooser-cancel") {
    return ChooserCancel();
  }
  if (name == "expect-chooser-message") {
    return ExpectChooserMessage(argument);
  }
  if (name == "check-folder-box") {
    return CheckFolderBox(argument);
  }
  report_.Fail(std::string(step), "unknown step");
  return false;
}

bool Session::NeedDialog(std::string_view step) {
  if (process_ && dialog_ != nullptr && ::IsWindow(dialog_)) {
    return true;
  }
  report_.Fail(std::string(step), "no setup dialog to work on");
  return false;
}

bool Session::Launch() {
  ++launches_;
  report_.Note(Cat({"start ", Number(launches_), " of ", options_.program, " in ",
                    options_.distributionFolder}));
  if (process_ && process_->IsRunning()) {
    report_.Fail("SetUp.exe of the previous start ended", "still running; terminated");
  }
  process_.reset();
  dialog_ = nullptr;
  std::string error;
  process_ = SetupProcess::Start(options_.distributionFolder, options_.program, error);
  if (!process_) {
    report_.Fail("SetUp.exe starts", error);
    return false;
  }
  const ULONGLONG started = ::GetTickCount64();
  const DialogLook look = Choosing();
  dialog_ = process_->WaitForWindow("#32770", options_.anyCaption ? std::string() : look.caption,
                                    kDialogTimeoutMs);
  if (dialog_ == nullptr) {
    const bool ended = !process_->IsRunning();
    report_.Fail(Cat({"SetUp.exe shows its dialog ", Quoted(look.caption)}),
                 ended ? std::string("the program ended without it")
                       : Cat({"none within the time limit; it shows",
                              Describe(TopLevelWindowsOf(process_->Id()))}));
    process_.reset();
    return false;
  }
  report_.Pass(Cat({"SetUp.exe shows its dialog ", Quoted(look.caption), " after ",
                    Number(static_cast<long long>(::GetTickCount64() - started)), " ms"}));
  WaitUntilIdle(dialog_);
  RECT frame{};
  ::GetWindowRect(dialog_, &frame);
  choosingHeight_ = frame.bottom - frame.top;
  return true;
}

bool Session::CheckChoosing() {
  const DialogLook look = Choosing();
  std::string others;
  for (HWND window : TopLevelWindowsOf(process_->Id())) {
    if (window != dialog_ && ::IsWindowVisible(window)) {
      others += Cat({" ", DescribeWindow(window), ";"});
    }
  }
  report_.Check(others.empty(), "the dialog is the program's only window",
                Cat({"also", others}));
  CheckControlStates(dialog_, look, report_);
  CheckGeometry(dialog_, look, report_);
  CheckPictures(dialog_, report_);
  return true;
}

bool Session::CheckPainting() {
  WaitUntilIdle(dialog_);
  ::Sleep(kPaintSettleMs);
  CheckPaint(dialog_, Choosing(), report_);
  return true;
}

bool Session::CheckDpi(const std::string& expected) {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  report_.Check(Number(dpi) == expected, Cat({"the screen at ", expected, " DPI"}),
                Cat({"at ", Number(dpi)}));
  WaitUntilIdle(dialog_);
  ::Sleep(kPaintSettleMs);
  CheckPicturesAtDpi(dialog_, dpi, report_);
  return Number(dpi) == expected;
}

bool Session::TakeScreenshot(const std::string& name) {
  if (options_.screenshotFolder.empty()) {
    report_.Note(Cat({"no screenshot folder given; screenshot ", name, " skipped"}));
    return true;
  }
  WaitUntilIdle(dialog_);
  ::Sleep(kPaintSettleMs);
  report_.Check(RequestScreenshot(options_.screenshotFolder, name, kScreenshotTimeoutMs),
                Cat({"screenshot ", name}), "the test script did not take it");
  return true;
}

bool Session::UntickAll() {
  HWND install = ::GetDlgItem(dialog_, IDC_INSTALL);
  std::vector<const ReleaseBox*> offered;
  for (const ReleaseBox& box : ReleaseBoxes()) {
    if (EditionOffers(options_.setupBits, box.year) && options_.foundYears.count(box.year)) {
      offered.push_back(&box);
    }
  }
  if (offered.empty()) {
    report_.Check(!::IsWindowEnabled(install), "no release offered: Install disabled",
                  "Install is enabled");
    return true;
  }
  for (std::size_t i = 0; i < offered.size(); ++i) {
    HWND box = ::GetDlgItem(dialog_, offered[i]->id);
    const std::string year = Number(offered[i]->year);
    if (!Click(box)) {
      report_.Fail(Cat({"untick ", year}), "the program did not answer the click");
      return false;
    }
    const std::size_t stillTicked = offered.size() - i - 1;
    const bool installEnabled = ::IsWindowEnabled(install) != FALSE;
    const bool ok = !IsTicked(box) && installEnabled == (stillTicked > 0);
    const std::string expected =
        stillTicked > 0
            ? Cat({"enabled (", Number(static_cast<long long>(stillTicked)), " still ticked)"})
            : std::string("disabled (none ticked)");
    report_.Check(ok, Cat({"untick ", year, ": box unticked, Install ", expected}),
                  Cat({"box ", IsTicked(box) ? "ticked" : "unticked", ", Install ",
                       installEnabled ? "enabled" : "disabled"}));
  }
  HWND first = ::GetDlgItem(dialog_, offered.front()->id);
  if (!Click(first)) {
    report_.Fail(Cat({"tick ", Number(offered.front()->year), " again"}),
                 "the program did not answer the click");
    return false;
  }
  const bool installEnabled = ::IsWindowEnabled(install) != FALSE;
  report_.Check(IsTicked(first) && installEnabled,
                Cat({"tick ", Number(offered.front()->year), " again: box ticked, Install enabled"}),
                Cat({"box ", IsTicked(first) ? "ticked" : "unticked", ", Install ",
                     installEnabled ? "enabled" : "disabled"}));
  return true;
}

bool Session::ExpectEnd(const std::string& action) {
  const bool ended = process_->WaitForEnd(kEndTimeoutMs);
  report_.Check(ended, Cat({action, " ends SetUp.exe"}),
                ended ? std::string()
                      : Cat({"still running after ", Number(kEndTimeoutMs), " ms, showing",
                             Describe(TopLevelWindowsOf(process_->Id()))}));
  process_.reset();
  dialog_ = nullptr;
  return ended;
}

bool Session::EndByCancel() {
  if (!PostClick(::GetDlgItem(dialog_, IDCANCEL))) {
    report_.Fail("click Cancel", "the click could not be posted");
    return false;
  }
  return ExpectEnd("Cancel");
}

bool Session::EndByCloseBox() {
  if (::PostMessageA(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0) == 0) {
    report_.Fail("close box", "WM_SYSCOMMAND could not be posted");
    return false;
  }
  return ExpectEnd("the close box");
}

}  // namespace e2e
