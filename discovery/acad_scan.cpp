// The registry scan that finds AutoCAD installations at start-up.
//
// Below each branch key lies one key per AutoCAD release; somewhere below a release key (or at
// the release key itself) lie the product keys, each holding an AcadLocation (the install
// folder) and a ProductName (which carries the release year). Key names are not interpreted:
// only where a value sits in the tree and the year in ProductName decide.

#include <array>
#include <cstring>
#include <utility>

#include "discovery/enum_sub_key_names.h"
#include "discovery/installation_inventory.h"
#include "discovery/product_name.h"
#include "discovery/text_format.h"

namespace discovery {
namespace {

// The size of the value data buffer: a longer value counts as absent.
constexpr std::uint32_t kValueBufferSize = 256;

// One value sought below a release key: what was found where, and the keys opened so far
// while seeking it (against its own budget).
struct ValueSearch {
  const char* valueName;
  std::size_t maxKeys;
  std::size_t keysOpened = 0;
  TextList keyPaths;
  TextList values;
};

constexpr std::size_t kSearchCount = 2;
constexpr std::size_t kLocationSearch = 0;
constexpr std::size_t kProductNameSearch = 1;
// A set of searches, one bit each.
using Seeking = unsigned;

// One depth-first, pre-order walk of a release key that seeks both values at once. At each
// key it reads every value still sought on that path; a value found there is recorded and no
// longer sought below that key; the walk descends while any value is still sought.
//
// Each value keeps the results it would have alone: the keys seeking one value are visited
// in the order a walk for that value alone would visit them, and each value's budget counts
// only the keys opened while it was sought, so a budget runs out at the same key either way.
class ReleaseKeyWalk {
 public:
  ReleaseKeyWalk(platform::Registry& registry, std::string basePath,
                 std::array<ValueSearch, kSearchCount>& searches)
      : registry_(registry), basePath_(std::move(basePath)), searches_(searches) {}

  // The release key counts as opened for every value, as every key the walk enters does.
  void Run(platform::KeyRef releaseKey) {
    const Seeking seeking = Enter((1u << kSearchCount) - 1);
    if (seeking != 0) {
      Visit(releaseKey, seeking, "", 0);
    }
  }

 private:
  // The searches of `seeking` whose budget allows one more key, each charged for it.
  Seeking Enter(Seeking seeking) {
    Seeking entering = 0;
    for (std::size_t s = 0; s < kSearchCount; ++s) {
      ValueSearch& search = searches_[s];
      if ((seeking & (1u << s)) != 0 && search.keysOpened < search.maxKeys) {
        ++search.keysOpened;
        entering |= 1u << s;
      }
    }
    return entering;
  }

  void Visit(platform::KeyRef key, Seeking seeking, const std::string& relativePath, int depth) {
    // One query answers the sub-key count and whether the key can hold a sought value at all,
    // which spares the value reads at most keys (each a round trip to the registry). Without
    // the answer every sought value is read, and no sub-key is visited, as the count is unknown.
    platform::KeyInfo info;
    const bool infoKnown = registry_.QueryKeyInfo(key, info) == platform::reg::kSuccess;
    for (std::size_t s = 0; s < kSearchCount; ++s) {
      if ((seeking & (1u << s)) == 0) {
        continue;
      }
      if (infoKnown && !MayHoldValue(info, searches_[s].valueName)) {
        continue;
      }
      if (ReadValue(key, searches_[s], relativePath)) {
        seeking &= ~(1u << s);
      }
    }
    if (seeking == 0 || depth >= kMaxCollectDepth) {
      return;
    }
    const std::uint32_t count = infoKnown ? info.subKeyCount : 0;
    for (std::uint32_t index = 0; index < count; ++index) {
      char name[kKeyNameBufferSize];
      if (!ReadSubKeyName(registry_, key, index, name)) {
        continue;
      }
      const Seeking below = Enter(seeking);
      if (below == 0) {
        return;  // the values sought here have spent their budgets: no further sub-key is opened
      }
      platform::RegKey subKey;
      if (registry_.OpenKeyEx(key, name, platform::reg::kKeyRead, subKey) !=
          platform::reg::kSuccess) {
        continue;
      }
      Visit(subKey, below, relativePath + name + "\\", depth + 1);
    }
  }

  // False only when the key has no value, or none whose name is as long as `valueName` (an
  // ASCII name, so its length in characters is its length in UTF-16 units, the registry's
  // measure). Value names compare without regard to case, which keeps their length.
  static bool MayHoldValue(const platform::KeyInfo& info, const char* valueName) {
    return info.valueCount > 0 && info.maxValueNameLength >= std::strlen(valueName);
  }

  // Records the value when `key` holds it and it fits the buffer.
  bool ReadValue(platform::KeyRef key, ValueSearch& search, const std::string& relativePath) {
    unsigned char data[kValueBufferSize] = {};
    std::uint32_t dataSize = kValueBufferSize;
    std::uint32_t type = 0;
    if (registry_.QueryValue(key, search.valueName, &type, data, &dataSize) !=
        platform::reg::kSuccess) {
      return false;
    }
    // The data is taken as text up to its first NUL, whatever its type; never past its size.
    const std::size_t size = dataSize < kValueBufferSize ? dataSize : kValueBufferSize;
    const void* nul = std::memchr(data, '\0', size);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - data)
                       : size;
    search.keyPaths.push_back(basePath_ + relativePath);
    search.values.emplace_back(reinterpret_cast<const char*>(data), length);
    return true;
  }

  platform::Registry& registry_;
  const std::string basePath_;
  std::array<ValueSearch, kSearchCount>& searches_;
};

}  // namespace

void InstallationInventory::ScanAcadInstallations() {
  ScanAcadBranch("SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD",
                 "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\%s\\", 3);
  ScanAcadBranch("SOFTWARE\\Autodesk\\AutoCAD", "SOFTWARE\\Autodesk\\AutoCAD\\%s\\", kReleaseCount);
}

void InstallationInventory::ScanAcadBranch(const char* branchPath, const char* keyPathFormat,
                                           std::size_t recognisedRows) {
  platform::Registry& registry = platform_.registry;
  platform::RegKey localMachine;
  if (registry.OpenKey(platform::RegRoot::LocalMachine, nullptr, localMachine) !=
      platform::reg::kSuccess) {
    return;
  }
  platform::RegKey branch;
  if (registry.OpenKeyEx(localMachine, branchPath, platform::reg::kKeyRead, branch) !=
      platform::reg::kSuccess) {
    return;
  }

  const std::uint32_t releaseKeyCount = SubKeyCount(registry, branch);
  for (std::uint32_t index = 0; index < releaseKeyCount; ++index) {
    char releaseKeyName[kKeyNameBufferSize];
    if (!ReadSubKeyName(registry, branch, index, releaseKeyName)) {
      continue;
    }
    platform::RegKey releaseKey;
    if (registry.OpenKeyEx(branch, releaseKeyName, platform::reg::kKeyRead, releaseKey) !=
        platform::reg::kSuccess) {
      continue;
    }

    std::array<ValueSearch, kSearchCount> searches{{{"AcadLocation", maxCollectKeys, 0, {}, {}},
                                                    {"ProductName", maxCollectKeys, 0, {}, {}}}};
    ReleaseKeyWalk(registry, FormatText(keyPathFormat, releaseKeyName), searches).Run(releaseKey);
    const ValueSearch& locations = searches[kLocationSearch];
    ValueSearch& products = searches[kProductNameSearch];

    // An installation is a key that holds both values; its ProductName decides the release.
    for (std::size_t a = 0; a < locations.keyPaths.size(); ++a) {
      for (std::size_t b = 0; b < products.keyPaths.size(); ++b) {
        if (locations.keyPaths[a] != products.keyPaths[b]) {
          continue;
        }
        const ReleaseRow* row = ClassifyProductName(products.values[b], recognisedRows);
        if (row == nullptr) {
          continue;
        }
        const auto r = static_cast<std::size_t>(row->releaseIndex);
        productKeyPaths[r].push_back(locations.keyPaths[a]);
        acadLocations[r].push_back(locations.values[a]);
      }
    }

    // The working area ends as the search for ProductName below the last release key left it.
    valueName = products.valueName;
    foundKeyPaths = std::move(products.keyPaths);
    foundValues = std::move(products.values);
  }
}

}  // namespace discovery
