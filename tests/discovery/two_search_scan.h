#pragma once

// The start-up scan as two separate searches per release key, first for AcadLocation, then
// for ProductName: the reference that the one-walk scan of the program must agree with, entry
// for entry and in the working area too. Tests, the fuzz target and the scan benchmark run it.

#include <cstddef>

#include "discovery/installation_inventory.h"
#include "platform/registry.h"

namespace discovery::reference {

// Fills the public members of `inventory` (acadLocations, productKeyPaths and the working
// area) as ScanAcadInstallations does, with each search opening at most `maxCollectKeys` keys
// per release key.
void TwoSearchScan(platform::Registry& registry, std::size_t maxCollectKeys,
                   InstallationInventory& inventory);

}  // namespace discovery::reference
