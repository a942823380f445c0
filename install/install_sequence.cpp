#include "install/install_sequence.h"

#include "install/installed_apps_entry.h"
#include "install/package_copy.h"
#include "install/running_acad_check.h"
#include "install/setup_messages.h"
#include "platform/ansi_text.h"
#include "registration/demand_load.h"
#include "registration/per_user_notice.h"
#include "registration/support_files.h"
#include "ui/resource_ids.h"

namespace install {
namespace {

constexpr const char* kCloseAutoCADText = "请关闭AutoCAD后再进行安装 !";
constexpr const char* kInvalidFolderText = "安装路径无效，请重新选择安装路径 !";

// The dialog's own OK and Cancel buttons: "安装完成" and "取  消".
constexpr int kFinishButton = 1;
constexpr int kCancelButton = 2;

constexpr int kProgressEnd = 50;

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Position of the first backslash at or after `from` that is a character of its own.
std::size_t FindBackslash(const std::string& text, std::size_t from) {
  for (std::size_t pos = from; pos < text.size(); pos += ansi::CharLengthAt(text, pos)) {
    if (text[pos] == '\\') {
      return pos;
    }
  }
  return std::string::npos;
}

bool IsShareFolder(const std::string& folder) {
  if (folder.size() < 5 || folder[0] != '\\' || folder[1] != '\\') {
    return false;
  }
  const std::size_t serverEnd = FindBackslash(folder, 2);
  return serverEnd != std::string::npos && serverEnd > 2 && serverEnd + 1 < folder.size() &&
         folder[serverEnd + 1] != '\\';
}

}  // namespace

bool FolderCanBeMade(const std::string& folder) {
  return folder.size() < platform::kMaxPath &&
         platform::PathCharacters(folder) < platform::kMaxFolderPath;
}

bool IsAbsoluteFolder(const std::string& folder) {
  if (folder.size() >= 2 && IsDriveLetter(folder[0]) && folder[1] == ':') {
    return folder.size() == 2 || folder[2] == '\\';
  }
  return IsShareFolder(folder);
}

InstallCommand::InstallCommand(discovery::InstallationInventory& inventory,
                               platform::Platform platform)
    : inventory_(inventory), platform_(platform) {}

void InstallCommand::OnInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                               std::string& targetFolder) {
  if (warnAutoCADRunning && IsAutoCADRunning(platform_.processes)) {
    platform_.messages.Show(view.Window(), kCloseAutoCADText, kSetupCaption, platform::mb::kOk);
    warnAutoCADRunning = false;
    return;
  }

  view.UpdateData(true);
  targetFolder = ansi::StripTrailingBackslash(targetFolder);
  const std::string productFolder = targetFolder + '\\' + kProductFolderName;
  if (!IsAbsoluteFolder(targetFolder) || !FolderCanBeMade(productFolder)) {
    platform_.messages.Show(view.Window(), kInvalidFolderText, kSetupCaption, platform::mb::kOk);
    return;
  }
  // Either folder may exist already; a missing parent makes every copy fail and be reported.
  platform_.files.MakeFolder(targetFolder.c_str());
  targetFolder = productFolder;
  platform_.files.MakeFolder(targetFolder.c_str());

  if (!RunInstall(view, releaseFlags, targetFolder)) {
    return;
  }
  WriteInstalledAppsEntry(platform_, targetFolder);

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
  if (!CopyPackageFiles(platform_, view.Window(), job)) {
    view.EndWithCancel();
    return false;
  }
  view.StepIt();

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
    platform_.messages.Show(view.Window(), notice.c_str(), kSetupCaption,
                            registration::PerUserNoticeFlags(outcome));
  }
  return true;
}

}  // namespace install
