#include "install/install_sequence.h"

#include "install/installed_apps_entry.h"
#include "install/package_copy.h"
#include "install/running_acad_check.h"
#include "install/setup_messages.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "registration/demand_load.h"
#include "registration/per_user_notice.h"
#include "registration/support_files.h"
#include "ui/resource_ids.h"
#include "uninstall/earlier_installation.h"

namespace install {
namespace {

constexpr const char* kCloseAutoCADText = "请关闭AutoCAD后再进行安装 !";
constexpr const char* kInvalidFolderText = "安装路径无效，请重新选择安装路径 !";

// The dialog's own OK and Cancel buttons: "安装完成" and "取  消".
constexpr int kFinishButton = 1;
constexpr int kCancelButton = 2;

constexpr int kProgressEnd = 50;

}  // namespace

InstallCommand::InstallCommand(discovery::InstallationInventory& inventory,
                               platform::Platform platform)
    : inventory_(inventory), platform_(platform) {}

void InstallCommand::OnInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                               std::string& targetFolder) {
  if (warnAutoCADRunning && IsAutoCADRunning(platform_.processes)) {
    platform_.messages.Show(view.Window(), ansi::BuiltIn(kCloseAutoCADText),
                            ansi::BuiltIn(kSetupCaption), platform::mb::kOk);
    warnAutoCADRunning = false;
    return;
  }

  view.UpdateData(true);
  targetFolder = ansi::StripTrailingBackslash(targetFolder);
  const std::string productFolder = targetFolder + '\\' + ansi::BuiltIn(kProductFolderName);
  if (!IsAbsoluteFolder(targetFolder) || !FolderCanBeMade(productFolder) ||
      !FolderFitsTrustedPaths(productFolder)) {
    platform_.messages.Show(view.Window(), ansi::BuiltIn(kInvalidFolderText),
                            ansi::BuiltIn(kSetupCaption), platform::mb::kOk);
    return;
  }
  // The folders are made by the copy, once it has found the package.
  targetFolder = productFolder;
  problems_ = ClosingProblems{};
  problems_.productFolder = productFolder;

  if (!RunInstall(view, releaseFlags, targetFolder)) {
    return;
  }
  long refusal = platform::reg::kSuccess;
  if (WriteInstalledAppsEntry(platform_, targetFolder, refusal) == EntryWrite::Refused) {
    problems_.entryError = platform_.files.ErrorText(static_cast<std::uint32_t>(refusal));
  }
  if (problems_.Any()) {
    platform_.messages.Show(view.Window(), ClosingNotice(problems_).c_str(),
                            ansi::BuiltIn(kSetupCaption),
                            platform::mb::kOk | platform::mb::kIconExclamation);
  }

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

bool InstallCommand::RunInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                                const std::string& productFolder) {
  view.ShowControl(IDC_CHOOSE_FOLDER, false);
  view.ShowControl(IDC_TARGET_FOLDER, false);
  view.ShowControl(IDC_BROWSE, false);
  view.ShowControl(IDC_PROGRESS, true);
  view.SetProgressRange(0, kProgressEnd);
  view.SetProgressStep(1);
  view.SetProgressPos(0);

  const PackageCopyJob job(productFolder, view);
  PackageCopyOutcome copied;
  if (!CopyPackageFiles(platform_, view.Window(), job, copied)) {
    view.EndWithCancel();
    return false;
  }
  if (copied.protectionError != 0) {
    problems_.protectionError = platform_.files.ErrorText(copied.protectionError);
  }
  if (copied.recordError != 0) {
    problems_.recordError = platform_.files.ErrorText(copied.recordError);
  }
  view.StepIt();
  // Before the new folder is registered, so that AutoCAD is never told of two copies.
  TakeOutEarlierInstallations(job.targetFolder, copied.record);

  inventory_.SetInstallFolder(productFolder);
  registration::RegistrationOutcome outcome;
  registration::RegisterSelectedReleases(inventory_, platform_.registry, releaseFlags, outcome);
  view.StepIt();
  registration::InstallSupportFiles(inventory_, platform_, view.Window(), releaseFlags, outcome);
  view.StepIt();
  view.SetProgressPos(kProgressEnd);

  // The package is in place, so the installation still ends in its finished look; but a user
  // whose machine-wide places refused the registration learns whom the plug-in serves, and
  // what is missing where even the user's own places could not take it.
  const std::string notice = registration::PerUserNotice(outcome);
  if (!notice.empty()) {
    platform_.messages.Show(view.Window(), notice.c_str(), ansi::BuiltIn(kSetupCaption),
                            registration::PerUserNoticeFlags(outcome));
  }
  return true;
}

void InstallCommand::TakeOutEarlierInstallations(const std::string& productFolder,
                                                 const InstallRecord& installed) {
  for (const uninstall::EarlierInstallation& earlier :
       uninstall::FindEarlierInstallations(platform_, productFolder)) {
    uninstall::RemovalReport report;
    uninstall::TakeOutEarlierInstallation(platform_, inventory_, earlier, installed, report);
    if (!report.Clean()) {
      problems_.earlierFolder = earlier.productFolder;
      problems_.earlierLeftovers = report.notRemoved;
    }
    if (!report.keptFolder.empty()) problems_.earlierKeptFolder = report.keptFolder;
  }
}

}  // namespace install
