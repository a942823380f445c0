#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "platform/platform.h"
#include "uninstall/removal_report.h"

namespace uninstall {

// Puts AutoCAD's own PDF plot driver back where the setup kept it before replacing it: in the
// Drv folder of every install location of the releases whose driver the setup replaces, the
// kept copy goes back over the package's driver and is then deleted. A location without a
// kept copy (AutoCAD had none, or an installation made before drivers were kept) is left, and
// so is one whose product still has a demand-load key of the plug-in that names a module
// outside `productFolder`: the other route's installation (the dialog's or the Windows
// Installer package's, from another folder) still loads from there and needs the driver.
void RestorePlotDrivers(platform::Platform platform,
                        const discovery::InstallationInventory& inventory,
                        const std::string& productFolder, RemovalReport& report);

}  // namespace uninstall
