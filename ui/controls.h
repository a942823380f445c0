#pragma once

#include <windows.h>

#include <commctrl.h>

#include "ui/wnd.h"

namespace ui {

// A check box or push button of a dialog; its tick goes through the dialog's data exchange.
class CButton : public CWnd {};

// A progress bar of a dialog.
class CProgressCtrl : public CWnd {
 public:
  void SetRange(short lower, short upper) const { SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper)); }
  int SetStep(int step) const { return static_cast<int>(SendMessage(PBM_SETSTEP, static_cast<WPARAM>(step))); }
  int StepIt() const { return static_cast<int>(SendMessage(PBM_STEPIT)); }
  int SetPos(int position) const { return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position))); }
};

}  // namespace ui
