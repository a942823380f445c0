#pragma once

#include <array>

#include "discovery/release_table.h"

namespace registration {

// What became of one ticked release where a machine-wide place (a demand-load key below
// HKEY_LOCAL_MACHINE, a file in AutoCAD's program folder) refused a write. Nothing set means
// everything of the release was written machine-wide, or there was nothing to write.
struct ReleaseOutcome {
  bool perUser = false;         // something went to the current user's own places instead
  bool loadingMissing = false;  // a demand-load key found no place: AutoCAD will not load it
  bool fontsMissing = false;    // the shape fonts found no folder on AutoCAD's search path
  bool driverMissing = false;   // AutoCAD 2008's plot driver file, which has no per-user place

  bool Lacks() const { return loadingMissing || fontsMissing || driverMissing; }
  bool Refused() const { return perUser || Lacks(); }
};

// The registration of one installation, per release in table order.
struct RegistrationOutcome {
  std::array<ReleaseOutcome, discovery::kReleaseCount> releases{};

  bool EverythingMachineWide() const {
    for (const ReleaseOutcome& release : releases) {
      if (release.Refused()) return false;
    }
    return true;
  }
  bool EverythingPlaced() const {
    for (const ReleaseOutcome& release : releases) {
      if (release.Lacks()) return false;
    }
    return true;
  }
};

}  // namespace registration
