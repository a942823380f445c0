#include "uninstall/uninstall_sequence.h"

#include "install/install_sequence.h"
#include "install/installed_apps_entry.h"
#include "install/package_data_folder.h"
#include "install/running_acad_check.h"
#include "platform/ansi_text.h"
#include "uninstall/file_removal.h"
#include "uninstall/registry_removal.h"
#include "uninstall/uninstall_messages.h"

namespace uninstall {
namespace {

using platform::RegRoot;
namespace mb = platform::mb;

bool EntryNames(platform::Registry& registry, RegRoot root, const std::string& productFolder) {
  std::string location;
  return install::ReadInstalledAppsLocation(registry, root, location) &&
         ansi::EqualsNoCase(location, productFolder);
}

// The question, asked again after the running-AutoCAD warning; true when the user said Yes
// to go on.
bool UserConfirms(platform::Platform platform) {
  bool warned = false;
  while (platform.messages.Show(0, kConfirmText, kUninstallCaption,
                                mb::kYesNo | mb::kIconQuestion) == mb::kIdYes) {
    if (warned || !install::IsAutoCADRunning(platform.processes)) {
      return true;
    }
    platform.messages.Show(0, kCloseAutoCADText, kUninstallCaption, mb::kOk);
    warned = true;
  }
  return false;
}

void RemoveEntry(platform::Registry& registry, RegRoot root, RemovalReport& report) {
  if (registry.DeleteKey(root, install::kInstalledAppsEntryPath) != platform::reg::kSuccess) {
    report.Add(std::string(root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE\\"
                                                         : "HKEY_CURRENT_USER\\") +
                   install::kInstalledAppsEntryPath,
               RemovalRefused::NoRights);
  }
}

}  // namespace

FolderCheck CheckProductFolder(platform::Registry& registry, const std::string& productFolder,
                               OwnEntries& entries) {
  const std::size_t slash = ansi::FindLastBackslash(productFolder);
  if (slash == std::string::npos || !install::IsAbsoluteFolder(productFolder) ||
      !ansi::EqualsNoCase(std::string_view(productFolder).substr(slash + 1),
                          install::kProductFolderName)) {
    return FolderCheck::NotProductFolder;
  }
  entries.machine = EntryNames(registry, RegRoot::LocalMachine, productFolder);
  entries.user = EntryNames(registry, RegRoot::CurrentUser, productFolder);
  return entries.machine || entries.user ? FolderCheck::Ours : FolderCheck::NoEntry;
}

bool RunUninstall(platform::Platform platform, const std::string& productFolder,
                  RemovalReport& report) {
  const std::string folder = ansi::StripTrailingBackslash(productFolder);
  OwnEntries entries;
  switch (CheckProductFolder(platform.registry, folder, entries)) {
    case FolderCheck::NotProductFolder:
      platform.messages.Show(0, kNotProductFolderText, kUninstallCaption, mb::kOk);
      return false;
    case FolderCheck::NoEntry:
      platform.messages.Show(0, kNoEntryText, kUninstallCaption, mb::kOk);
      return false;
    case FolderCheck::Ours:
      break;
  }
  if (!UserConfirms(platform)) {
    return false;
  }
  const bool autoCADRunning = install::IsAutoCADRunning(platform.processes);

  RemoveDemandLoadKeys(platform, folder, report);
  RemoveTrustedFolder(platform.registry, folder, report);
  const std::string uninstaller = folder + "\\" + install::kUninstallerName;
  RemoveProductFiles(platform.files, folder, uninstaller, autoCADRunning, report);
  RemoveSettingsFile(platform.files, report);
  // The way back stays open until everything else has gone.
  if (report.Clean() &&
      (install::GetPathKind(platform.files, uninstaller) == install::PathMissing ||
       RemoveOneFile(platform.files, uninstaller, false, report))) {
    RemoveProductFolder(platform.files, folder, report);
    if (entries.machine) RemoveEntry(platform.registry, RegRoot::LocalMachine, report);
    if (entries.user) RemoveEntry(platform.registry, RegRoot::CurrentUser, report);
  }
  platform.messages.Show(0, FinalMessage(report).c_str(), kUninstallCaption,
                         report.Clean() ? mb::kOk : mb::kOk | mb::kIconExclamation);
  return true;
}

}  // namespace uninstall
