// The installation steps of the driver: typing a folder, Install, the message boxes the
// installation shows and their answers, the finished look, and a stand-in for a running
// AutoCAD.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <set>
#include <string>
#include <string_view>

#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/window_queries.h"
#include "ui/resource_ids.h"

namespace e2e {
namespace {

constexpr DWORD kMessageTimeoutMs = 30000;
constexpr DWORD kInstallTimeoutMs = 60000;
constexpr const char* kMessageCaption = "Zelvar软件安装";
// The id Windows gives the text of a message box.
constexpr int kMessageTextId = 0xFFFF;
// The finished look keeps the window down to "安装完成", 48 dialog units shorter.
constexpr int kShrinkDlu = 48;
constexpr const char* kProductFolderName = "\\Zelvar批打印软件";

struct KnownMessage {
  std::string_view name;
  std::string_view text;  // the whole text, or for the copy failure what follows the path
  bool hasPath;
};
constexpr std::array<KnownMessage, 5> kMessages{{
    {"acad-running", "请关闭AutoCAD后再进行安装 !", false},
    {"data-missing",
     "未找到安装所需的Data文件夹 !\n\n可能安装文件下载后没有解压，\n\n请解压后再执行SetUp.exe !", false},
    {"copy-failed",
     " 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统", true},
    {"invalid-folder", "安装路径无效，请重新选择安装路径 !", false},
    {"per-user",
     "插件已安装，但仅供当前Windows用户使用。\n\n"
     "如需供本机所有用户使用，请以管理员身份运行SetUp.exe重新安装。",
     false},
}};

struct ButtonName {
  std::string_view name;
  int id;
};
constexpr std::array<ButtonName, 6> kButtons{{{"ok", IDOK},
                                              {"abort", IDABORT},
                                              {"retry", IDRETRY},
                                              {"ignore", IDIGNORE},
                                              {"yes", IDYES},
                                              {"no", IDNO}}};

bool Visible(HWND dialog, int id) {
  return (::GetWindowLongA(::GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

// Line ends as the message box holds them may be CR LF.
std::string WithoutCarriageReturns(std::string text) {
  std::string plain;
  for (char c : text) {
    if (c != '\r') {
      plain += c;
    }
  }
  return plain;
}

}  // namespace

HWND Session::FindWindowCaptioned(const std::string& caption, HWND except) const {
  for (HWND window : TopLevelWindowsOf(process_->Id())) {
    if (window != dialog_ && window != except && ::IsWindowVisible(window) &&
        ClassNameOf(window) == "#32770" && ReadCaption(window) == caption) {
      return window;
    }
  }
  return nullptr;
}

HWND Session::FindMessageBox() const { return FindWindowCaptioned(kMessageCaption, nullptr); }

bool Session::SetFolder(const std::string& folder) {
  HWND edit = ::GetDlgItem(dialog_, IDC_TARGET_FOLDER);
  DWORD_PTR ignored = 0;
  const bool set = ::SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()),
                                         SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &ignored) != 0;
  const std::optional<std::string> text = ReadText(edit);
  report_.Check(set && text == folder, Cat({"type the folder ", Quoted(folder)}),
                Cat({"the box holds ", Quoted(text.value_or("?"))}));
  return set;
}

bool Session::ClickInstall() {
  HWND install = ::GetDlgItem(dialog_, IDC_INSTALL);
  if (!::IsWindowEnabled(install) || !PostClick(install)) {
    report_.Fail("click Install", "the button is disabled or the click could not be posted");
    return false;
  }
  report_.Note("Install clicked");
  return true;
}

bool Session::ExpectMessage(const std::string& name) {
  const KnownMessage* known = nullptr;
  for (const KnownMessage& message : kMessages) {
    if (message.name == name) {
      known = &message;
    }
  }
  if (known == nullptr) {
    report_.Fail(Cat({"expect-message:", name}), "no such message");
    return false;
  }
  const ULONGLONG deadline = ::GetTickCount64() + kMessageTimeoutMs;
  messageBox_ = nullptr;
  while (messageBox_ == nullptr && ::GetTickCount64() < deadline && process_->IsRunning()) {
    messageBox_ = FindMessageBox();
    if (messageBox_ == nullptr) {
      ::Sleep(100);
    }
  }
  if (messageBox_ == nullptr) {
    report_.Fail(Cat({"message ", name, " shown"}),
                 process_->IsRunning() ? std::string("no message box within the time limit")
                                       : std::string("the program ended"));
    return false;
  }
  WaitUntilIdle(messageBox_);
  const std::string text =
      WithoutCarriageReturns(ReadText(::GetDlgItem(messageBox_, kMessageTextId)).value_or(""));
  bool textRight = false;
  if (known->hasPath) {
    const std::string_view head = "拷贝文件 ";
    textRight = text.size() > head.size() + known->text.size() && text.rfind(head, 0) == 0 &&
                text.compare(text.size() - known->text.size(), known->text.size(), known->text) == 0;
  } else {
    textRight = text == known->text;
  }
  report_.Check(textRight, Cat({"message ", name, " shown: ", Quoted(text)}), "another text");
  report_.Check(::GetWindow(messageBox_, GW_OWNER) == dialog_,
                Cat({"message ", name, " belongs to the setup dialog"}), "another owner");
  return textRight;
}

bool Session::Answer(const std::string& button) {
  int id = 0;
  for (const ButtonName& entry : kButtons) {
    if (entry.name == button) {
      id = entry.id;
    }
  }
  HWND target = messageBox_ != nullptr ? ::GetDlgItem(messageBox_, id) : nullptr;
  if (target == nullptr || !PostClick(target)) {
    report_.Fail(Cat({"answer ", button}), "no message box with that button");
    return false;
  }
  const HWND answered = messageBox_;
  messageBox_ = nullptr;
  const ULONGLONG deadline = ::GetTickCount64() + kMessageTimeoutMs;
  while (::IsWindow(answered) && ::IsWindowVisible(answered) &&
         ::GetTickCount64() < deadline) {
    ::Sleep(50);
  }
  const bool closed = !::IsWindow(answered) || !::IsWindowVisible(answered);
  report_.Check(closed, Cat({"answer ", button, ": the message box closes"}), "it stays");
  return closed;
}

bool Session::WaitFinished() {
  const ULONGLONG deadline = ::GetTickCount64() + kInstallTimeoutMs;
  while (!Visible(dialog_, IDOK) && ::GetTickCount64() < deadline && process_->IsRunning()) {
    if (HWND box = FindMessageBox()) {
      report_.Fail("the installation finishes", Cat({"a message box: ", DescribeWindow(box)}));
      return false;
    }
    ::Sleep(100);
  }
  if (!Visible(dialog_, IDOK)) {
    report_.Fail("the installation finishes", "no finished look within the time limit");
    return false;
  }
  WaitUntilIdle(dialog_);
  report_.Pass("the installation finishes");

  std::string wrong;
  for (const int id : {IDC_VERSION_TEXT, IDC_FINISHED_NOTICE, IDC_MENU_PICTURE, IDOK}) {
    if (!Visible(dialog_, id)) {
      wrong += Cat({" ", Number(id), " hidden;"});
    }
  }
  std::vector<int> hidden{IDC_CHOOSE_COMPONENTS, IDC_PROGRESS, IDC_INSTALL, IDCANCEL,
                          IDC_CHOOSE_FOLDER, IDC_TARGET_FOLDER, IDC_BROWSE};
  for (const ReleaseBox& box : ReleaseBoxes()) {
    hidden.push_back(box.id);
  }
  for (const int id : hidden) {
    if (Visible(dialog_, id)) {
      wrong += Cat({" ", Number(id), " visible;"});
    }
  }
  report_.Check(wrong.empty(),
                "finished look: logo, version, notice, menu picture and 安装完成 alone", wrong);

  const std::string folder = ReadText(::GetDlgItem(dialog_, IDC_TARGET_FOLDER)).value_or("");
  const std::string_view tail = kProductFolderName;
  report_.Check(folder.size() > tail.size() &&
                    folder.compare(folder.size() - tail.size(), tail.size(), tail) == 0,
                "the hidden folder box holds the product folder", Quoted(folder));

  // Dialog units measured from the release boxes (2019 at y 61, 2012 at y 181): another
  // process cannot ask the dialog manager to convert them.
  const RECT box2019 = RectInParent(::GetDlgItem(dialog_, IDC_BOX_2019), dialog_);
  const RECT box2012 = RectInParent(::GetDlgItem(dialog_, IDC_BOX_2012), dialog_);
  const int expected = ::MulDiv(kShrinkDlu, box2012.top - box2019.top, 181 - 61);
  RECT frame{};
  ::GetWindowRect(dialog_, &frame);
  const int lost = choosingHeight_ - (frame.bottom - frame.top);
  report_.Check(lost >= expected - 1 && lost <= expected + 1,
                Cat({"the window is ", Number(kShrinkDlu), " dialog units (", Number(expected),
                     " px) shorter"}),
                Cat({Number(lost), " px shorter"}));
  return true;
}

bool Session::WatchLongCopy() {
  // Under Wine the dialog takes its messages between files only (Wine's CopyFileExA never calls
  // its progress routine), so an answer may wait for the file being copied, though never for
  // the five seconds after which Windows calls a window hung. A loaded machine copies many
  // times slower than a quiet one.
  constexpr ULONGLONG kPatienceMs = 5000, kClickAfterMs = 1000, kCopyTimeoutMs = 200000;
  const ULONGLONG start = ::GetTickCount64();
  std::set<DWORD_PTR> positions;
  int looks = 0, stuck = 0;
  bool clicked = false;
  while (!Visible(dialog_, IDOK) && ::GetTickCount64() < start + kCopyTimeoutMs &&
         process_->IsRunning() && FindMessageBox() == nullptr) {
    ++looks;
    DWORD_PTR position = 0;
    const bool answered = ::SendMessageTimeoutA(::GetDlgItem(dialog_, IDC_PROGRESS), PBM_GETPOS, 0,
                                                0, SMTO_NORMAL, kPatienceMs, &position) != 0;
    stuck += ::IsHungAppWindow(dialog_) || !answered ? 1 : 0;
    positions.insert(position);
    if (!clicked && ::GetTickCount64() > start + kClickAfterMs) {
      // A click on Cancel as the mouse gives it, one on Install as another program sends it.
      const HWND cancel = ::GetDlgItem(dialog_, IDCANCEL);
      ::PostMessageA(cancel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      ::PostMessageA(cancel, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      clicked = PostClick(::GetDlgItem(dialog_, IDC_INSTALL));
    }
    ::Sleep(100);
  }
  const ULONGLONG took = ::GetTickCount64() - start;
  report_.Note(Cat({"the installation took ", Number(static_cast<long long>(took)), " ms, ",
                    Number(looks), " looks, ", Number(static_cast<long long>(positions.size())),
                    " bar positions; clicks sent: ", clicked ? "yes" : "no"}));
  report_.Check(took > kPatienceMs && clicked,
                "the copy runs longer than the 5 s after which Windows gives up on a window",
                "it was quicker: nothing is shown");
  report_.Check(looks > 0 && stuck == 0,
                "throughout the copy IsHungAppWindow stays false and the dialog answers",
                Cat({"hung or silent at ", Number(stuck), " of ", Number(looks), " looks"}));
  report_.Check(positions.size() >= 3, "the progress bar moves during the copy", "it stays");
  return true;
}

bool Session::EndByFinish() {
  if (!PostClick(::GetDlgItem(dialog_, IDOK))) {
    report_.Fail("click 安装完成", "the click could not be posted");
    return false;
  }
  return ExpectEnd("安装完成");
}

bool Session::ExpectEndAfterAbort() {
  if (!process_) {
    report_.Fail("expect-end", "no program running");
    return false;
  }
  return ExpectEnd("the answer");
}

bool Session::StartAutoCADStandIn() {
  // The driver itself, copied under the name acad.exe, does nothing but wait (see main).
  char self[MAX_PATH] = {};
  char temp[MAX_PATH] = {};
  const DWORD selfLength = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  const DWORD tempLength = ::GetTempPathA(MAX_PATH, temp);
  if (selfLength == 0 || selfLength >= MAX_PATH || tempLength == 0 || tempLength >= MAX_PATH) {
    report_.Fail("start acad.exe", "no path for the stand-in");
    return false;
  }
  const std::string folder(temp, tempLength - 1);
  const std::string program = Cat({folder, "\\acad.exe"});
  if (::CopyFileA(self, program.c_str(), FALSE) == 0) {
    report_.Fail("start acad.exe", Cat({"cannot copy the stand-in to ", program}));
    return false;
  }
  std::string error;
  autoCAD_ = SetupProcess::Start(folder, "acad.exe", error);
  report_.Check(autoCAD_.has_value(), "a process named acad.exe runs", error);
  return autoCAD_.has_value();
}

bool Session::StopAutoCADStandIn() {
  if (autoCAD_) {
    autoCAD_->Terminate();
    autoCAD_.reset();
  }
  report_.Note("acad.exe ended");
  return true;
}

}  // namespace e2e
