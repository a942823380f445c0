// remove: the uninstaller's own removals, for the product folder the command names. Each
// takes out only what names that folder, so the other route's installation stays.

#include "deploy/verbs.h"

#include "discovery/installation_inventory.h"
#include "uninstall/plot_driver_restore.h"
#include "uninstall/registry_removal.h"

namespace deploy {

void DeployRemove(platform::Platform platform, const DeployCommand& command, Journal& journal) {
  discovery::InstallationInventory inventory(platform);
  inventory.ScanAcadInstallations();
  uninstall::RemovalReport report;
  const auto step = [&](const char* what, const auto& removal) {
    const std::size_t refusedBefore = report.notRemoved.size();
    removal();
    if (report.notRemoved.size() == refusedBefore) journal.done.push_back(what);
  };
  step("removed the demand-load keys that name the folder", [&] {
    uninstall::RemoveDemandLoadKeys(platform, inventory, command.folder, report);
  });
  step("put AutoCAD's kept plot drivers back",
       [&] { uninstall::RestorePlotDrivers(platform, inventory, command.folder, report); });
  step("removed Active Setup's component of the folder and the user's record of it", [&] {
    uninstall::RemoveActiveSetupComponent(platform, command.folder, report);
  });
  step("removed the folder from the user's trusted paths", [&] {
    uninstall::RemoveTrustedFolder(platform.registry, command.folder, report);
  });
  for (std::string& item : report.notRemoved) journal.refused.push_back("removal of " + item);
}

}  // namespace deploy
