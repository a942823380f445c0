#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "platform/platform.h"
#include "uninstall/removal_report.h"

namespace uninstall {

// Removes every demand-load key "Applications\ZV_BatchPlot<year>" (2007 to 2025) whose LOADER
// lies in `productFolder`: below every product key the scan found (`inventory`, both branches
// of HKEY_LOCAL_MACHINE), and below every product key of the current user (AutoCAD releases
// removed since the installation among them). Keys of other programs, keys whose LOADER names
// another folder, and the Applications keys themselves stay.
void RemoveDemandLoadKeys(platform::Platform platform,
                          const discovery::InstallationInventory& inventory,
                          const std::string& productFolder, RemovalReport& report);

// Takes the product folder's entry out of TRUSTEDPATHS of every profile of the current user;
// a value left with no entry is deleted (its Variables key stays).
void RemoveTrustedFolder(platform::Registry& registry, const std::string& productFolder,
                         RemovalReport& report);

}  // namespace uninstall
