#include "uninstall/uninstall_sequence.h"

#include "discovery/installation_inventory.h"
#include "install/installation_record.h"
#include "install/installed_apps_entry.h"
#include "install/package_data_folder.h"
#include "install/product_folder.h"
#include "install/running_acad_check.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "uninstall/file_removal.h"
#include "uninstall/plot_driver_restore.h"
#include "uninstall/registry_removal.h"

namespace uninstall {
namespace {

using platform::RegRoot;

bool EntryNames(platform::Registry& registry, RegRoot root, const std::string& productFolder) {
  std::string location;
  return install::ReadInstalledAppsLocation(registry, root, location) &&
         ansi::EqualsNoCase(location, productFolder);
}

// The question, asked again after the running-AutoCAD warning; true when the answer was to
// go on.
bool Confirmed(platform::ProcessList& processes, UninstallPrompts& prompts) {
  bool warned = false;
  while (prompts.ConfirmRemoval()) {
    if (warned || !install::IsAutoCADRunning(processes)) {
      return true;
    }
    prompts.AutoCADRunning();
    warned = true;
  }
  return false;
}

void RemoveEntry(platform::Platform platform, RegRoot root, RemovalReport& report) {
  const long deleted =
      platform.registry.DeleteKey(root, ansi::BuiltIn(install::kInstalledAppsEntryPath));
  if (deleted != platform::reg::kSuccess && deleted != platform::reg::kFileNotFound) {
    ReportRefusal(platform.files,
                  std::string(root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE\\"
                                                            : "HKEY_CURRENT_USER\\") +
                      ansi::BuiltIn(install::kInstalledAppsEntryPath),
                  static_cast<std::uint32_t>(deleted), false, report);
  }
}

// Whether `folder` holds nothing but the file `name`.
bool HoldsOnly(platform::FileSystem& files, const std::string& folder, const std::string& name) {
  platform::FindHandle listing;
  platform::FindData entry;
  for (bool more = files.FindFirst((folder + "\\*").c_str(), listing, entry); more;
       more = files.FindNext(listing, entry)) {
    if (entry.fileName != "." && entry.fileName != ".." && !ansi::EqualsNoCase(entry.fileName, name)) {
      return false;
    }
  }
  return true;
}

// The last of the product folder, once everything else has gone: the record, the uninstaller
// and the folder. A running uninstaller cannot delete its own file (when it could not hand the
// work to a copy of itself elsewhere): the file is then left, or deleted at the next start of
// Windows where the rights allow, and named; it holds nothing up.
void RemoveTheWayBack(platform::FileSystem& files, const std::string& folder,
                      RemovalReport& report) {
  const std::string record = folder + "\\" + install::kInstallRecordName;
  if (install::GetPathKind(files, record) == install::PathIsFile &&
      !RemoveOneFile(files, record, false, report)) {
    return;
  }
  const std::string uninstaller = folder + "\\" + install::kUninstallerName;
  const std::uint32_t attributes = files.GetAttributes(uninstaller.c_str());
  const bool isFile = attributes != platform::attr::kInvalid &&
                      (attributes & (platform::attr::kDirectory | platform::attr::kReparsePoint)) == 0;
  if (isFile) {
    install::ClearReadOnly(files, uninstaller);
    if (!files.RemoveFile(uninstaller.c_str())) {
      report.uninstallerLeft = uninstaller;
      report.uninstallerGoesAtRestart = files.RemoveAtRestart(uninstaller.c_str());
      // The folder follows its last file at the same restart; with anything else in it, the
      // removal then fails and the folder stays.
      if (report.uninstallerGoesAtRestart && HoldsOnly(files, folder, install::kUninstallerName)) {
        files.RemoveAtRestart(folder.c_str());
      }
      return;
    }
  }
  RemoveProductFolder(files, folder, report);
}

}  // namespace

FolderCheck CheckProductFolder(platform::Registry& registry, const std::string& productFolder,
                               OwnEntries& entries) {
  const std::size_t slash = ansi::FindLastBackslash(productFolder);
  if (slash == std::string::npos || !install::IsAbsoluteFolder(productFolder) ||
      !ansi::EqualsNoCase(std::string_view(productFolder).substr(slash + 1),
                          ansi::BuiltIn(install::kProductFolderName))) {
    return FolderCheck::NotProductFolder;
  }
  entries.machine = EntryNames(registry, RegRoot::LocalMachine, productFolder);
  entries.user = EntryNames(registry, RegRoot::CurrentUser, productFolder);
  return entries.machine || entries.user ? FolderCheck::Ours : FolderCheck::NoEntry;
}

UninstallEnd RunUninstall(platform::Platform platform, const std::string& productFolder,
                          UninstallPrompts& prompts, RemovalReport& report) {
  const std::string folder = ansi::StripTrailingBackslash(productFolder);
  OwnEntries entries;
  switch (CheckProductFolder(platform.registry, folder, entries)) {
    case FolderCheck::NotProductFolder:
      return UninstallEnd::NotProductFolder;
    case FolderCheck::NoEntry:
      return UninstallEnd::NoEntry;
    case FolderCheck::Ours:
      break;
  }
  // Without the rights, the machine-wide keys would stay and name files that are gone: every
  // user's AutoCAD would then miss its module at each start.
  if (entries.machine && !platform.processes.RunsAsAdministrator()) {
    return UninstallEnd::NeedsAdministrator;
  }
  if (!Confirmed(platform.processes, prompts)) {
    return UninstallEnd::Declined;
  }
  const bool autoCADRunning = install::IsAutoCADRunning(platform.processes);
  discovery::InstallationInventory inventory(platform);
  inventory.ScanAcadInstallations();

  RemoveDemandLoadKeys(platform, inventory, folder, report);
  RemoveTrustedFolder(platform.registry, folder, report);
  // Before the tool goes with the files: a component left behind would run a missing program
  // at every user's logon.
  if (entries.machine) RemoveActiveSetupComponent(platform, folder, report);
  RestorePlotDrivers(platform, inventory, folder, report);
  const install::RecordReading record = install::ReadInstallRecord(platform.files, folder);
  RemoveProductFiles(platform.files, folder, record, install::kUninstallerName, autoCADRunning,
                     report);
  RemoveSettingsFile(platform.files, report);
  // The way back stays open until everything else has gone; then the entries go too, whatever
  // becomes of the running uninstaller's own file. A folder whose record cannot be read, or that
  // has become a link, is left whole for the user to delete.
  if (report.Clean()) {
    if (report.unreadableRecord.empty() && report.folderIsLink.empty()) {
      RemoveTheWayBack(platform.files, folder, report);
    }
    if (report.Clean()) {
      if (entries.machine) RemoveEntry(platform, RegRoot::LocalMachine, report);
      if (entries.user) RemoveEntry(platform, RegRoot::CurrentUser, report);
    }
  }
  return UninstallEnd::Removed;
}

}  // namespace uninstall
