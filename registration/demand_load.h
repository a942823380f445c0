#pragma once

#include "discovery/installation_inventory.h"

namespace registration {

// Writes the demand-load key "Applications\ZV_BatchPlot<year>" below every product key the
// scan found for each ticked release (flags in release order, non-zero = ticked), then runs
// UpdateTrustedPaths once. True when every key creation and value write attempted for a
// ticked release succeeded; releases with nothing found and the trusted paths do not count.
bool RegisterSelectedReleases(const discovery::InstallationInventory& inventory,
                              platform::Registry& registry, const discovery::ReleaseFlags& flags);

// The demand-load keys of one release (2007 to 2025; any other year does nothing and
// succeeds). A product key whose key name or LOADER text would not fit 259 characters is
// passed over and counts as a failure.
bool RegisterArxForRelease(const discovery::InstallationInventory& inventory,
                           platform::Registry& registry, int releaseYear);

}  // namespace registration
