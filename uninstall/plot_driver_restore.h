#pragma once

#include "discovery/installation_inventory.h"
#include "platform/file_system.h"
#include "uninstall/removal_report.h"

namespace uninstall {

// Puts AutoCAD's own PDF plot driver back where the setup kept it before replacing it: in the
// Drv folder of every install location of the releases whose driver the setup replaces, the
// kept copy goes back over the package's driver and is then deleted. A location without a
// kept copy (AutoCAD had none, or an installation made before drivers were kept) is left.
void RestorePlotDrivers(platform::FileSystem& files,
                        const discovery::InstallationInventory& inventory, RemovalReport& report);

}  // namespace uninstall
