// The keyboard steps of the driver: real key presses (SendInput) into the setup dialog, with the
// focus put where a user puts it, so that the dialog manager's own key handling decides what a
// key does.
#include <windows.h>

#include <functional>
#include <string>

#include "tests/e2e/driver/session.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/window_queries.h"
#include "ui/resource_ids.h"

namespace e2e {
namespace {

constexpr DWORD kKeyTimeoutMs = 5000;

bool SendKeyInputs(INPUT* inputs, UINT count) {
  return ::SendInput(count, inputs, sizeof(INPUT)) == count;
}

// One press and release of a virtual key, as the keyboard sends it.
bool PressKey(WORD key) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendKeyInputs(inputs, 2);
}

// One typed character, whatever the keyboard layout.
bool TypeCharacter(wchar_t character) {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = character;
    input.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  return SendKeyInputs(inputs, 2);
}

bool WaitFor(const std::function<bool()>& condition) {
  const ULONGLONG deadline = ::GetTickCount64() + kKeyTimeoutMs;
  while (!condition()) {
    if (::GetTickCount64() >= deadline) {
      return false;
    }
    ::Sleep(50);
  }
  return true;
}

HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  const DWORD thread = ::GetWindowThreadProcessId(window, nullptr);
  return ::GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Brings the dialog to the front, as a click on its caption does, and with `control` given
// puts the keyboard focus there, as a click into the control or the Tab key does. The driver
// shares the dialog thread's input state for the moment, which is what lets it set the focus
// of another process's window.
bool BringToFront(HWND dialog, HWND control) {
  const DWORD dialogThread = ::GetWindowThreadProcessId(dialog, nullptr);
  const DWORD driverThread = ::GetCurrentThreadId();
  const bool attached = ::AttachThreadInput(driverThread, dialogThread, TRUE) != FALSE;
  ::SetForegroundWindow(dialog);
  if (control != nullptr) {
    ::SetFocus(control);
  }
  if (attached) {
    ::AttachThreadInput(driverThread, dialogThread, FALSE);
  }
  return ::GetForegroundWindow() == dialog &&
         WaitFor([&] { return control == nullptr || FocusOf(dialog) == control; });
}

std::string DescribeFocus(HWND dialog) {
  const HWND focus = FocusOf(dialog);
  if (focus == nullptr) return "nothing";
  if (focus == dialog) return "the dialog itself";
  return Cat({ClassNameOf(focus), " ", Number(::GetDlgCtrlID(focus)),
              ::IsWindowVisible(focus) ? "" : " (hidden)"});
}

bool Ticked(HWND box) {
  const std::optional<LRESULT> check = ReadCheck(box);
  return check && *check == BST_CHECKED;
}

}  // namespace

bool Session::EnterLeavesDialogOpen(const std::string& where) {
  HWND control = nullptr;
  if (where == "folder") {
    control = ::GetDlgItem(dialog_, IDC_TARGET_FOLDER);
  } else if (where == "box") {
    for (const ReleaseBox& box : ReleaseBoxes()) {
      const HWND window = ::GetDlgItem(dialog_, box.id);
      if (control == nullptr && ::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
        control = window;
      }
    }
  }
  const std::string what = Cat({"Enter on ", where == "folder" ? "the folder box" : "a release box"});
  if (control == nullptr) {
    report_.Fail(what, Cat({"no ", where, " to put the focus on"}));
    return false;
  }
  if (!BringToFront(dialog_, control)) {
    report_.Fail(what, Cat({"the focus could not be put there; it is on ", DescribeFocus(dialog_)}));
    return false;
  }
  if (!PressKey(VK_RETURN)) {
    report_.Fail(what, "SendInput did not take the key");
    return false;
  }
  // Keys are handled in the order they were pressed: once a key pressed after Enter has done its
  // work in the same control, Enter has been handled too. Each probe is undone again.
  bool probed = false;
  if (where == "folder") {
    const std::string before = ReadText(control).value_or("");
    const std::string typed = Cat({before, "x"});
    probed = PressKey(VK_END) && TypeCharacter(L'x') &&
             WaitFor([&] { return ReadText(control).value_or("") == typed; }) &&
             PressKey(VK_BACK) && WaitFor([&] { return ReadText(control).value_or("") == before; });
  } else {
    const bool before = Ticked(control);
    probed = PressKey(VK_SPACE) && WaitFor([&] { return Ticked(control) != before; }) &&
             PressKey(VK_SPACE) && WaitFor([&] { return Ticked(control) == before; });
  }
  const bool open = process_->IsRunning() && ::IsWindow(dialog_) && ::IsWindowVisible(dialog_);
  report_.Check(probed && open && FocusOf(dialog_) == control,
                Cat({what, ": the dialog stays open and the focus stays there"}),
                !open ? std::string("the dialog ended")
                      : !probed ? std::string("keys typed after Enter did not reach the control")
                                : Cat({"the focus moved to ", DescribeFocus(dialog_)}));
  return open;
}

bool Session::EndByEnter() {
  if (!BringToFront(dialog_, nullptr)) {
    report_.Fail("Enter in the finished look", "the dialog could not be brought to the front");
    return false;
  }
  report_.Note(Cat({"Enter pressed with the focus on ", DescribeFocus(dialog_)}));
  if (!PressKey(VK_RETURN)) {
    report_.Fail("Enter in the finished look", "SendInput did not take the key");
    return false;
  }
  return ExpectEnd("Enter in the finished look");
}

}  // namespace e2e
