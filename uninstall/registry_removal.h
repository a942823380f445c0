#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "platform/platform.h"
#include "uninstall/removal_report.h"

namespace uninstall {

// The product keys of the current user: every "Software\Autodesk\AutoCAD\<release>\<product>"
// below HKEY_CURRENT_USER, whether or not the product is still installed.
discovery::TextList UserProductKeys(platform::Registry& registry);

// Whether the LOADER of the demand-load key `key` names a file directly in `productFolder`.
// A value that does not fit a path names no file the setup wrote.
bool LoaderInFolder(platform::Registry& registry, const platform::RegKey& key,
                    const std::string& productFolder);

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

// Takes out Active Setup's component where its StubPath runs the tool of `productFolder`, and
// the current user's record of having run it. A component that names another folder (the
// other route's installation) stays, and so does the user's record of it.
void RemoveActiveSetupComponent(platform::Platform platform, const std::string& productFolder,
                                RemovalReport& report);

}  // namespace uninstall
