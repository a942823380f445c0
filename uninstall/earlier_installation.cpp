// An installation into another folder than the one chosen now: taken out before the new one is
// registered, with the pieces the uninstaller itself uses.

#include "uninstall/earlier_installation.h"

#include "install/installed_apps_entry.h"
#include "install/package_data_folder.h"
#include "install/product_folder.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "uninstall/file_removal.h"
#include "uninstall/registry_removal.h"

namespace uninstall {
namespace {

using platform::RegRoot;

// A folder an entry may name for the take-out to act on: the product folder's own name below
// an absolute folder, as the uninstaller demands too.
bool IsProductFolder(const std::string& folder) {
  const std::size_t slash = ansi::FindLastBackslash(folder);
  return slash != std::string::npos && install::IsAbsoluteFolder(folder) &&
         ansi::EqualsNoCase(std::string_view(folder).substr(slash + 1),
                            ansi::BuiltIn(install::kProductFolderName));
}

void Note(std::vector<EarlierInstallation>& found, const std::string& folder, RegRoot root) {
  for (EarlierInstallation& earlier : found) {
    if (ansi::EqualsNoCase(earlier.productFolder, folder)) {
      (root == RegRoot::LocalMachine ? earlier.machine : earlier.user) = true;
      return;
    }
  }
  EarlierInstallation earlier{folder};
  (root == RegRoot::LocalMachine ? earlier.machine : earlier.user) = true;
  found.push_back(std::move(earlier));
}

}  // namespace

std::vector<EarlierInstallation> FindEarlierInstallations(platform::Platform platform,
                                                          const std::string& productFolder) {
  std::vector<EarlierInstallation> found;
  const bool administrator = platform.processes.RunsAsAdministrator();
  for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    std::string folder;
    if ((root == RegRoot::CurrentUser || administrator) &&
        install::ReadInstalledAppsLocation(platform.registry, root, folder) &&
        IsProductFolder(folder) && !ansi::EqualsNoCase(folder, productFolder)) {
      Note(found, folder, root);
    }
  }
  return found;
}

void TakeOutEarlierInstallation(platform::Platform platform,
                                const discovery::InstallationInventory& inventory,
                                const EarlierInstallation& earlier,
                                const install::InstallRecord& installedNow, RemovalReport& report) {
  const std::string& folder = earlier.productFolder;
  RemoveDemandLoadKeys(platform, inventory, folder, report);
  RemoveTrustedFolder(platform.registry, folder, report);
  if (earlier.machine) RemoveActiveSetupComponent(platform, folder, report);

  install::RecordReading record = install::ReadInstallRecord(platform.files, folder);
  if (record.state == install::RecordState::Missing) {
    // Without a record, only what is known to be the package's goes: never the user's files.
    record.state = install::RecordState::Read;
    record.record = installedNow;
    record.record.Add(install::kUninstallerName);
  }
  RemoveProductFiles(platform.files, folder, record, "", false, report);
  if (report.Clean() && report.unreadableRecord.empty() && report.folderIsLink.empty()) {
    const std::string recordFile = folder + "\\" + install::kInstallRecordName;
    if (install::GetPathKind(platform.files, recordFile) == install::PathIsFile) {
      RemoveOneFile(platform.files, recordFile, false, report);
    }
    if (report.Clean()) RemoveProductFolder(platform.files, folder, report);
  }
  for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    if ((root == RegRoot::LocalMachine ? earlier.machine : earlier.user) && report.Clean()) {
      platform.registry.DeleteKey(root, ansi::BuiltIn(install::kInstalledAppsEntryPath));
    }
  }
}

}  // namespace uninstall
