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

// The depth limit alone does not end a search through two links that loop: every level
// doubles the paths, 2^512 of them. So one search (one value below one release key) opens at
// most this many keys, far more than any AutoCAD release key holds, then gives up the rest.
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

  // The scan's working area: the value looked for, and where it was found with what data.
  std::string valueName = "AcadLocation";
  TextList foundKeyPaths;
  TextList foundValues;
  // The most keys one search opens (see kMaxCollectKeys); lowered only by tests that walk
  // many looping registries quickly.
  std::size_t maxCollectKeys = kMaxCollectKeys;

 private:
  // Scans one branch: each release key below it, paired AcadLocation and ProductName found at
  // the same key, filed under the first of `recognisedRows` rows whose year the name holds.
  void ScanAcadBranch(const char* branchPath, const char* keyPathFormat, std::size_t recognisedRows);

  // Depth-first, pre-order search below `parent` for the value named valueName; stops
  // descending at the first key on each path that holds it, and opens no more than
  // maxCollectKeys keys from where collectedKeys_ was last reset. Appends to foundKeyPaths and
  // foundValues. `depth` counts the levels below the release key.
  void CollectValue(platform::KeyRef parent, const char* subKeyName, std::string relativePath,
                    std::string basePath, int depth);

  platform::Platform platform_;
  // Keys the current search has opened, against maxCollectKeys.
  std::size_t collectedKeys_ = 0;
};

// A registry tree can loop through links, so the search never goes deeper than the registry's
// own limit on key depth.
inline constexpr int kMaxCollectDepth = 512;

}  // namespace discovery
