#include "tests/discovery/two_search_scan.h"

#include <cstring>
#include <string>

#include "discovery/enum_sub_key_names.h"
#include "discovery/product_name.h"
#include "discovery/text_format.h"

namespace discovery::reference {
namespace {

constexpr std::uint32_t kValueBufferSize = 256;

struct Search {
  platform::Registry& registry;
  std::size_t maxKeys;
  InstallationInventory& inventory;
  std::size_t keysOpened = 0;
};

// Depth-first, pre-order search for inventory.valueName; stops descending at the first key on
// each path that holds it.
void CollectValue(Search& search, platform::KeyRef parent, const char* subKeyName,
                  const std::string& relativePath, const std::string& basePath, int depth) {
  if (search.keysOpened >= search.maxKeys) {
    return;
  }
  ++search.keysOpened;
  platform::RegKey key;
  if (search.registry.OpenKeyEx(parent, subKeyName, platform::reg::kKeyRead, key) !=
      platform::reg::kSuccess) {
    return;
  }
  unsigned char data[kValueBufferSize] = {};
  std::uint32_t dataSize = kValueBufferSize;
  std::uint32_t type = 0;
  if (search.registry.QueryValue(key, search.inventory.valueName.c_str(), &type, data,
                                 &dataSize) == platform::reg::kSuccess) {
    const std::size_t size = dataSize < kValueBufferSize ? dataSize : kValueBufferSize;
    const void* nul = std::memchr(data, '\0', size);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - data)
                       : size;
    search.inventory.foundKeyPaths.push_back(basePath + relativePath);
    search.inventory.foundValues.emplace_back(reinterpret_cast<const char*>(data), length);
    return;
  }
  if (depth >= kMaxCollectDepth) {
    return;
  }
  const std::uint32_t count = SubKeyCount(search.registry, key);
  for (std::uint32_t index = 0; index < count; ++index) {
    char name[kKeyNameBufferSize];
    if (!ReadSubKeyName(search.registry, key, index, name)) {
      continue;
    }
    CollectValue(search, key, name, relativePath + name + "\\", basePath, depth + 1);
  }
}

void ScanBranch(platform::Registry& registry, std::size_t maxCollectKeys,
                InstallationInventory& inventory, const char* branchPath,
                const char* keyPathFormat, std::size_t recognisedRows) {
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
    const std::string keyPath = FormatText(keyPathFormat, releaseKeyName);
    platform::RegKey releaseKey;
    if (registry.OpenKeyEx(branch, releaseKeyName, platform::reg::kKeyRead, releaseKey) !=
        platform::reg::kSuccess) {
      continue;
    }

    inventory.foundKeyPaths.clear();
    inventory.foundValues.clear();
    inventory.valueName = "AcadLocation";
    Search locationSearch{registry, maxCollectKeys, inventory};
    CollectValue(locationSearch, releaseKey, "", "", keyPath, 0);
    const TextList locationPaths = inventory.foundKeyPaths;
    const TextList locationValues = inventory.foundValues;

    inventory.foundKeyPaths.clear();
    inventory.foundValues.clear();
    inventory.valueName = "ProductName";
    Search productSearch{registry, maxCollectKeys, inventory};
    CollectValue(productSearch, releaseKey, "", "", keyPath, 0);
    const TextList& productPaths = inventory.foundKeyPaths;
    const TextList& productNames = inventory.foundValues;

    for (std::size_t a = 0; a < locationPaths.size(); ++a) {
      for (std::size_t b = 0; b < productPaths.size(); ++b) {
        if (locationPaths[a] != productPaths[b]) {
          continue;
        }
        const ReleaseRow* row = ClassifyProductName(productNames[b], recognisedRows);
        if (row == nullptr) {
          continue;
        }
        const auto r = static_cast<std::size_t>(row->releaseIndex);
        inventory.productKeyPaths[r].push_back(locationPaths[a]);
        inventory.acadLocations[r].push_back(locationValues[a]);
      }
    }
  }
}

}  // namespace

void TwoSearchScan(platform::Registry& registry, std::size_t maxCollectKeys,
                   InstallationInventory& inventory) {
  ScanBranch(registry, maxCollectKeys, inventory, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD",
             "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\%s\\", 3);
  ScanBranch(registry, maxCollectKeys, inventory, "SOFTWARE\\Autodesk\\AutoCAD",
             "SOFTWARE\\Autodesk\\AutoCAD\\%s\\", kReleaseCount);
}

}  // namespace discovery::reference
