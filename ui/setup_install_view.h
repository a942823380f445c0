#pragma once

#include "ui/logic/install_view.h"

namespace ui {

class Dlg_Setup;

// The setup dialog as the installation sees it: its controls by id, its progress bar, its end.
class SetupInstallView final : public InstallView {
 public:
  explicit SetupInstallView(Dlg_Setup& dialog) : dialog_(dialog) {}

  platform::WindowRef Window() override;
  void UpdateData(bool saveAndValidate) override;
  void ShowControl(int controlId, bool show) override;
  void SetProgressRange(int minimum, int maximum) override;
  void SetProgressStep(int step) override;
  void SetProgressPos(int position) override;
  void StepIt() override;
  void BetweenParts() override;
  void EndWithCancel() override;
  void ShrinkToFinishButton() override;

 private:
  Dlg_Setup& dialog_;
};

}  // namespace ui
