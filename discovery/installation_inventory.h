#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "discovery/release_table.h"
#include "platform/platform.h"

namespace discovery {

// An ordered, growable list of narrow texts; entries are only ever appended at its end.
using TextList = std::vector<std::string>;
using PerReleaseLists = std::array<TextList, kReleaseCount>;

// The depth limit alone does not end a walk through two links that loop: every level doubles
// the paths, 2^512 of them. So below one release key, at most this many keys are opened while
// seeking each of the two values, far more than any AutoCAD release key holds; a value whose
// budget is spent is sought no further there.
inline constexpr std::size_t kMaxCollectKeys = 100000;

// The one record of the run: which AutoCAD installations the registry shows, filed by release,
// and the product folder the package was copied into. The scan fills it once at start-up;
// the dialog offers releases from it and the installation steps work from it.
class InstallationInventory {
 public:
  explicit InstallationInventory(platform::Platform platform);

  // Fills acadLocations and productKeyPaths from the two AutoCAD branches below
  // HKEY_LOCAL_MACHINE, the Wow6432Node branch first. Only reads; never fails as a whole:
  // whatever cannot be read contributes nothing.
  void ScanAcadInstallations();

  // installFolder := folder, with one trailing backslash removed.
  void SetInstallFolder(std::string folder);

  // The product folder the package was copied into, without a trailing backslash.
  std::string installFolder;
  // Per release row: the AcadLocation values found (AutoCAD install folders, as the registry
  // holds them) ...
  PerReleaseLists acadLocations;
  // ... and, entry for entry, the key path below HKEY_LOCAL_MACHINE that held each of them,
  // always ending with a backslash.
  PerReleaseLists productKeyPaths;

  // The scan's working area. After a scan that opened a release key it holds what the search
  // for ProductName found below the last one: the value's name, and where it was found with
  // what data. Nothing reads it after the scan.
  std::string valueName = "AcadLocation";
  TextList foundKeyPaths;
  TextList foundValues;
  // The most keys opened per value below one release key (see kMaxCollectKeys); lowered only
  // by tests that walk many looping registries quickly.
  std::size_t maxCollectKeys = kMaxCollectKeys;

 private:
  // Scans one branch: each release key below it is walked once, depth-first and pre-order,
  // for AcadLocation and ProductName together; a value is no longer sought below the first
  // key on a path that holds it. Each key that holds both is filed under the first of
  // `recognisedRows` rows whose year its ProductName names.
  void ScanAcadBranch(const char* branchPath, const char* keyPathFormat, std::size_t recognisedRows);

  platform::Platform platform_;
};

// A registry tree can loop through links, so the walk never goes deeper than the registry's
// own limit on key depth.
inline constexpr int kMaxCollectDepth = 512;

}  // namespace discovery
