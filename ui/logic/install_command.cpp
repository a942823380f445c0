#include "ui/logic/install_command.h"

#include "install/install_sequence.h"
#include "install/running_acad_check.h"
#include "platform/ansi_text.h"
#include "ui/logic/install_message_boxes.h"
#include "ui/resource_ids.h"

namespace ui {
namespace {

// The dialog's own OK and Cancel buttons: "安装完成" and "取  消".
constexpr int kFinishButton = 1;
constexpr int kCancelButton = 2;

constexpr int kProgressEnd = 50;

// The installation's progress on the dialog: the folder controls give way to the bar.
class DialogProgress final : public install::InstallProgress {
 public:
  explicit DialogProgress(InstallView& view) : view_(view) {}

  void Started() override {
    view_.ShowControl(IDC_CHOOSE_FOLDER, false);
    view_.ShowControl(IDC_TARGET_FOLDER, false);
    view_.ShowControl(IDC_BROWSE, false);
    view_.ShowControl(IDC_PROGRESS, true);
    view_.SetProgressRange(0, kProgressEnd);
    view_.SetProgressStep(1);
    view_.SetProgressPos(0);
  }
  void StepIt() override { view_.StepIt(); }
  void BetweenParts() override { view_.BetweenParts(); }
  void Finished() override { view_.SetProgressPos(kProgressEnd); }

 private:
  InstallView& view_;
};

void ShowFinishedLook(InstallView& view) {
  view.ShowControl(IDC_FINISHED_NOTICE, true);
  view.ShowControl(IDC_MENU_PICTURE, true);
  view.ShowControl(IDC_CHOOSE_COMPONENTS, false);
  view.ShowControl(IDC_PROGRESS, false);
  view.ShowControl(kFinishButton, true);
  view.ShowControl(IDC_INSTALL, false);
  view.ShowControl(kCancelButton, false);
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    view.ShowControl(row.checkBoxId, false);
  }
  view.UpdateData(false);
  view.ShrinkToFinishButton();
}

}  // namespace

InstallCommand::InstallCommand(discovery::InstallationInventory& inventory,
                               platform::Platform platform, platform::MessageBoxes& messages)
    : inventory_(inventory), platform_(platform), messages_(messages) {}

void InstallCommand::OnInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                               std::string& targetFolder) {
  InstallMessageBoxes prompts(messages_, view.Window());
  if (warnAutoCADRunning && install::IsAutoCADRunning(platform_.processes)) {
    prompts.AutoCADRunning();
    warnAutoCADRunning = false;
    return;
  }

  view.UpdateData(true);
  // The installation strips the one trailing backslash itself; the member shows it gone.
  const install::InstallRequest request{releaseFlags, targetFolder};
  targetFolder = ansi::StripTrailingBackslash(targetFolder);
  DialogProgress progress(view);
  const install::InstallReport report =
      install::Install(platform_, inventory_, request, prompts, progress);
  if (report.end == install::InstallEnd::InvalidFolder) {
    prompts.InvalidFolder();
    return;
  }
  targetFolder = report.productFolder;
  if (report.end != install::InstallEnd::Installed) {
    view.EndWithCancel();
    return;
  }
  ShowFinishedLook(view);
}

}  // namespace ui
