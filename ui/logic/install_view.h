#pragma once

#include "install/package_copy.h"
#include "platform/message_boxes.h"

namespace ui {

// What the Install command does to the setup dialog, by the dialog's control ids. The dialog
// implements it over its window; tests record the calls.
class InstallView : public install::ProgressSteps {
 public:
  // The dialog's window, owner of every message box of the installation.
  virtual platform::WindowRef Window() = 0;
  // Data exchange: true pulls the controls into the selection, false writes it back.
  virtual void UpdateData(bool saveAndValidate) = 0;
  virtual void ShowControl(int controlId, bool show) = 0;
  virtual void SetProgressRange(int minimum, int maximum) = 0;
  virtual void SetProgressStep(int step) = 0;
  virtual void SetProgressPos(int position) = 0;
  // Ends the dialog as its Cancel button does (IDCANCEL).
  virtual void EndWithCancel() = 0;
  // Cuts the window off below the finish button, which keeps the margin Cancel had.
  virtual void ShrinkToFinishButton() = 0;
};

}  // namespace ui
