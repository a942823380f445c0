#pragma once

#include "discovery/installation_inventory.h"
#include "install/owned_places.h"
#include "registration/registration_outcome.h"

namespace registration {

// The demand-load key of the plug-in below a product key, by release year (2007 to 2025).
using install::kDemandLoadKeyFormat;

// Writes the demand-load key "Applications\ZV_BatchPlot<year>" below every product key the
// scan found for each ticked release (flags in release order, non-zero = ticked), then runs
// UpdateTrustedPaths once. A key refused below HKEY_LOCAL_MACHINE goes below the current
// user's product key where that exists; what went there, and what found no place, is entered
// into `outcome`.
void RegisterSelectedReleases(const discovery::InstallationInventory& inventory,
                              platform::Registry& registry, const discovery::ReleaseFlags& flags,
                              RegistrationOutcome& outcome);

// The demand-load keys of one release (2007 to 2025; any other year does nothing). A product
// key whose key name or LOADER text would not fit 259 characters is passed over, and the
// release counts as not registered.
void RegisterArxForRelease(const discovery::InstallationInventory& inventory,
                           platform::Registry& registry, int releaseYear,
                           RegistrationOutcome& outcome);

// The demand-load keys of one release below HKEY_LOCAL_MACHINE alone, for a process that
// serves every user: no key of the current user is read or written, and a refused key has no
// other place. Each key's full path goes to `written` or `refused`.
void RegisterArxMachineWide(const discovery::InstallationInventory& inventory,
                            platform::Registry& registry, int releaseYear,
                            discovery::TextList& written, discovery::TextList& refused);

}  // namespace registration
