// The folder chooser steps of the driver: Browse, the chooser's layout, typing or picking a
// folder, OK and Cancel, and the chooser's own English messages.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/window_queries.h"
#include "ui/resource_ids.h"

namespace e2e {
namespace {

constexpr DWORD kChooserTimeoutMs = 30000;
constexpr const char* kChooserCaption = "请选择安装目录：";
// The chooser's messages carry the application's title: the program file's name.
constexpr const char* kApplicationTitle = "SetUp";
// Inside the shell's folder browser: the tree, the status line, and the chooser's path box.
constexpr int kTreeId = 14145;
constexpr int kStatusLineId = 14147;
constexpr int kPathBoxId = 14148;

bool HasStyle(HWND window, LONG style) { return (::GetWindowLongA(window, GWL_STYLE) & style) != 0; }

}  // namespace

bool Session::Browse() {
  if (!PostClick(::GetDlgItem(dialog_, IDC_BROWSE))) {
    report_.Fail("click 浏览...", "the click could not be posted");
    return false;
  }
  const ULONGLONG deadline = ::GetTickCount64() + kChooserTimeoutMs;
  chooser_ = nullptr;
  while (chooser_ == nullptr && ::GetTickCount64() < deadline) {
    chooser_ = FindWindowCaptioned(kChooserCaption, nullptr);
    if (chooser_ == nullptr) {
      ::Sleep(100);
    }
  }
  report_.Check(chooser_ != nullptr, Cat({"浏览... opens the chooser ", Quoted(kChooserCaption)}),
                "no chooser within the time limit");
  if (chooser_ != nullptr) {
    WaitUntilIdle(chooser_);
  }
  return chooser_ != nullptr;
}

bool Session::CheckChooser() {
  HWND tree = ::GetDlgItem(chooser_, kTreeId);
  HWND status = ::GetDlgItem(chooser_, kStatusLineId);
  HWND pathBox = ::GetDlgItem(chooser_, kPathBoxId);
  if (tree == nullptr || pathBox == nullptr) {
    report_.Fail("the chooser has its tree and its path box", DescribeWindow(chooser_));
    return false;
  }
  const RECT treeRect = RectInParent(tree, chooser_);
  const RECT boxRect = RectInParent(pathBox, chooser_);
  // 4 and 27 pixels at 100 %, scaled with the screen's DPI.
  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  report_.Check(boxRect.left == treeRect.left && boxRect.right == treeRect.right &&
                    boxRect.bottom == treeRect.top - ::MulDiv(4, dpi, 96) &&
                    boxRect.top == treeRect.top - ::MulDiv(27, dpi, 96),
                "the path box sits just above the tree, as wide as it, 23 px high at 100 %",
                Cat({"box ", Number(boxRect.left), ",", Number(boxRect.top), "-",
                     Number(boxRect.right), ",", Number(boxRect.bottom), "; tree ",
                     Number(treeRect.left), ",", Number(treeRect.top), "-",
                     Number(treeRect.right), ",", Number(treeRect.bottom)}));
  report_.Check(HasStyle(pathBox, WS_VISIBLE) && ClassNameOf(pathBox) == "Edit",
                "the path box is a visible edit box", ClassNameOf(pathBox));
  report_.Check(status == nullptr || !HasStyle(status, WS_VISIBLE), "the status line is hidden",
                "it is visible");
  const std::string folder = ReadText(::GetDlgItem(dialog_, IDC_TARGET_FOLDER)).value_or("?");
  const std::string box = ReadText(pathBox).value_or("?");
  report_.Check(box == folder, "the path box starts with the dialog's folder",
                Cat({Quoted(box), " against ", Quoted(folder)}));
  report_.Check(::IsWindowEnabled(::GetDlgItem(chooser_, IDOK)) != FALSE,
                "OK is enabled for an existing folder", "disabled");
  return true;
}

bool Session::ChooserType(const std::string& path) {
  HWND pathBox = ::GetDlgItem(chooser_, kPathBoxId);
  DWORD_PTR ignored = 0;
  const bool set = ::SendMessageTimeoutA(pathBox, WM_SETTEXT, 0,
                                         reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG,
                                         kAnswerTimeoutMs, &ignored) != 0;
  report_.Check(set && ReadText(pathBox) == path, Cat({"type ", Quoted(path), " into the path box"}),
                "the box did not take it");
  return set;
}

// From the folder the chooser opened on (a folder of drive C:), two levels up: past the drive
// to the computer itself, which has no file-system path. (The desktop above it would not do:
// Wine's browser enables OK for it after the program's callback has disabled it.)
bool Session::ChooserPickComputer() {
  HWND tree = ::GetDlgItem(chooser_, kTreeId);
  DWORD_PTR item = 0;
  bool asked = ::SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_ABORTIFHUNG,
                                     kAnswerTimeoutMs, &item) != 0 && item != 0;
  for (int level = 0; asked && level < 2; ++level) {
    asked = ::SendMessageTimeoutA(tree, TVM_GETNEXTITEM, TVGN_PARENT, static_cast<LPARAM>(item),
                                  SMTO_ABORTIFHUNG, kAnswerTimeoutMs, &item) != 0 && item != 0;
  }
  DWORD_PTR selected = 0;
  asked = asked && ::SendMessageTimeoutA(tree, TVM_SELECTITEM, TVGN_CARET,
                                         static_cast<LPARAM>(item), SMTO_ABORTIFHUNG,
                                         kAnswerTimeoutMs, &selected) != 0;
  if (!asked) {
    report_.Fail("pick the computer in the tree", "the tree did not answer");
    return false;
  }
  WaitUntilIdle(chooser_);
  const std::string box = ReadText(::GetDlgItem(chooser_, kPathBoxId)).value_or("?");
  const bool okEnabled = ::IsWindowEnabled(::GetDlgItem(chooser_, IDOK)) != FALSE;
  report_.Check(box.empty() && !okEnabled,
                "picking the computer empties the path box and disables OK",
                Cat({"box ", Quoted(box), ", OK ", okEnabled ? "enabled" : "disabled"}));
  return true;
}

bool Session::ChooserOk() {
  if (!PostClick(::GetDlgItem(chooser_, IDOK))) {
    report_.Fail("chooser OK", "the click could not be posted");
    return false;
  }
  report_.Note("chooser OK clicked");
  return true;
}

bool Session::ChooserCancel() {
  const HWND chooser = chooser_;
  if (!PostClick(::GetDlgItem(chooser, IDCANCEL))) {
    report_.Fail("chooser Cancel", "the click could not be posted");
    return false;
  }
  const ULONGLONG deadline = ::GetTickCount64() + kChooserTimeoutMs;
  while (::IsWindow(chooser) && ::GetTickCount64() < deadline) {
    ::Sleep(50);
  }
  report_.Check(!::IsWindow(chooser), "Cancel closes the chooser", "it stays open");
  chooser_ = nullptr;
  WaitUntilIdle(dialog_);
  return true;
}

// "question=PATH", "invalid=PATH", "not-created=PATH", or "closed" (the chooser is gone, the
// dialog back in charge), or "open" (the chooser stays, its path box has the focus).
bool Session::ExpectChooserMessage(const std::string& what) {
  if (what == "closed" || what == "open") {
    const ULONGLONG deadline = ::GetTickCount64() + (what == "closed" ? kChooserTimeoutMs : 1000);
    while (::IsWindow(chooser_) && ::GetTickCount64() < deadline) {
      ::Sleep(50);
    }
    if (what == "closed") {
      report_.Check(!::IsWindow(chooser_), "OK closes the chooser", "it stays open");
      chooser_ = nullptr;
      WaitUntilIdle(dialog_);
      return true;
    }
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    DWORD thread = ::GetWindowThreadProcessId(chooser_, nullptr);
    const bool focusInBox = ::GetGUIThreadInfo(thread, &gui) != 0 &&
                            gui.hwndFocus == ::GetDlgItem(chooser_, kPathBoxId);
    report_.Check(::IsWindow(chooser_) && focusInBox,
                  "the chooser stays open with the focus in its path box",
                  ::IsWindow(chooser_) ? "the focus is elsewhere" : "it closed");
    return true;
  }
  const std::size_t equals = what.find('=');
  const std::string kind = what.substr(0, equals);
  const std::string path = equals == std::string::npos ? std::string() : what.substr(equals + 1);
  std::string expected;
  if (kind == "question") {
    expected = Cat({"The folder:\n\n", path, "\n\ndoes not exist. Do you want the folder to be created?"});
  } else if (kind == "invalid") {
    expected = Cat({"The folder:\n\n", path, "\n\nis invalid. Please reenter."});
  } else if (kind == "not-created") {
    expected = Cat({"The folder:\n\n", path, "\n\ncan not be created. Please double check."});
  } else {
    report_.Fail(Cat({"expect-chooser-message:", what}), "no such message");
    return false;
  }
  const ULONGLONG deadline = ::GetTickCount64() + kChooserTimeoutMs;
  messageBox_ = nullptr;
  while (messageBox_ == nullptr && ::GetTickCount64() < deadline) {
    messageBox_ = FindWindowCaptioned(kApplicationTitle, chooser_);
    if (messageBox_ == nullptr) {
      ::Sleep(100);
    }
  }
  if (messageBox_ == nullptr) {
    report_.Fail(Cat({"chooser message ", kind}), "no message box within the time limit");
    return false;
  }
  WaitUntilIdle(messageBox_);
  std::string text = ReadText(::GetDlgItem(messageBox_, 0xFFFF)).value_or("");
  std::string plain;
  for (char c : text) {
    if (c != '\r') {
      plain += c;
    }
  }
  report_.Check(plain == expected, Cat({"chooser message ", kind, ": ", Quoted(plain)}),
                Cat({"expected ", Quoted(expected)}));
  return plain == expected;
}

bool Session::CheckFolderBox(const std::string& text) {
  const std::string folder = ReadText(::GetDlgItem(dialog_, IDC_TARGET_FOLDER)).value_or("?");
  report_.Check(folder == text, Cat({"the dialog's folder box shows ", Quoted(text)}),
                Quoted(folder));
  return true;
}

}  // namespace e2e
