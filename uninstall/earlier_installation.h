#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "install/installation_record.h"
#include "platform/platform.h"
#include "uninstall/removal_report.h"

namespace uninstall {

// An installation in another folder than the one being installed, found by its entry in
// installed apps.
struct EarlierInstallation {
  std::string productFolder;
  bool machine = false;  // listed below HKEY_LOCAL_MACHINE
  bool user = false;     // listed below HKEY_CURRENT_USER
};

// The installations whose entries this run may replace and that name a product folder other
// than `productFolder`: the current user's, and the machine's where this process has the
// rights to change it (an administrator's installation is not a standard user's to undo).
std::vector<EarlierInstallation> FindEarlierInstallations(platform::Platform platform,
                                                          const std::string& productFolder);

// Takes an earlier installation out as the uninstaller would, so that nothing is left
// pointing at two copies and the old folder is not orphaned: its demand-load keys, its
// TRUSTEDPATHS entries, Active Setup's component where it runs that folder's tool, its files (by its record; without one, the files of the names the new
// installation put in place), its folder once empty, and its entries. The settings file, the
// fonts and AutoCAD's kept plot driver stay: the new installation carries on with them.
void TakeOutEarlierInstallation(platform::Platform platform,
                                const discovery::InstallationInventory& inventory,
                                const EarlierInstallation& earlier,
                                const install::InstallRecord& installedNow, RemovalReport& report);

}  // namespace uninstall
