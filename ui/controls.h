#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/wnd.h"

namespace ui {

// A check box or push button of a dialog.
class CButton : public CWnd {
 public:
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int state) const { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
};

// A progress bar of a dialog.
class CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
  int SetStep(int step) const { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
  int StepIt() const { return static_cast<int>(SendMessage(PBM_STEPIT)); }
  int SetPos(int position) const { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
  int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};

}  // namespace ui
