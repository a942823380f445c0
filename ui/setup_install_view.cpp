#include "ui/setup_install_view.h"

#include <windows.h>

#include "ui/message_pump.h"
#include "ui/setup_dialog.h"

namespace ui {

platform::WindowRef SetupInstallView::Window() {
  return reinterpret_cast<platform::WindowRef>(dialog_.GetSafeHwnd());
}

void SetupInstallView::UpdateData(bool saveAndValidate) { dialog_.UpdateData(saveAndValidate); }

void SetupInstallView::ShowControl(int controlId, bool show) {
  CWnd(dialog_.GetDlgItem(controlId)).ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void SetupInstallView::SetProgressRange(int minimum, int maximum) {
  dialog_.progressBar.SetRange(static_cast<short>(minimum), static_cast<short>(maximum));
}

void SetupInstallView::SetProgressStep(int step) { dialog_.progressBar.SetStep(step); }

void SetupInstallView::SetProgressPos(int position) { dialog_.progressBar.SetPos(position); }

// The installation runs on the dialog's thread; between its steps and between the pieces of a
// large file, the dialog paints, its bar moves and Windows sees it answer.
void SetupInstallView::StepIt() {
  dialog_.progressBar.StepIt();
  DispatchAllButInput();
}

void SetupInstallView::BetweenParts() { DispatchAllButInput(); }

void SetupInstallView::EndWithCancel() { dialog_.OnCancel(); }

void SetupInstallView::ShrinkToFinishButton() {
  const HWND window = dialog_.GetSafeHwnd();
  RECT dialogRect{};
  RECT finishRect{};
  RECT cancelRect{};
  if (!::GetWindowRect(window, &dialogRect) ||
      !::GetWindowRect(dialog_.GetDlgItem(IDOK), &finishRect) ||
      !::GetWindowRect(dialog_.GetDlgItem(IDCANCEL), &cancelRect)) {
    return;
  }
  // Only the difference of the two buttons' bottoms counts, so screen coordinates do.
  const LONG newBottom = dialogRect.bottom + (finishRect.bottom - cancelRect.bottom);
  ::MoveWindow(window, dialogRect.left, dialogRect.top, dialogRect.right - dialogRect.left,
               newBottom - dialogRect.top, TRUE);
}

}  // namespace ui
