// The registry scan that finds AutoCAD installations at start-up.
//
// Below each branch key lies one key per AutoCAD release; somewhere below a release key (or at
// the release key itself) lie the product keys, each holding an AcadLocation (the install
// folder) and a ProductName (which carries the release year). Key names are not interpreted:
// only where a value sits in the tree and the year in ProductName decide.

#include <cstring>

#include "discovery/enum_sub_key_names.h"
#include "discovery/installation_inventory.h"
#include "discovery/text_format.h"
#include "platform/ansi_text.h"

namespace discovery {
namespace {

// The size of the value data buffer: a longer value counts as absent.
constexpr std::uint32_t kValueBufferSize = 256;

// The first row among the first `recognisedRows` whose year text occurs in the product name,
// not at its very start ("2013 Edition" names no release).
const ReleaseRow* ClassifyProductName(const std::string& productName, std::size_t recognisedRows) {
  for (std::size_t row = 0; row < recognisedRows && row < kReleaseCount; ++row) {
    const std::size_t position = ansi::FindText(productName, kReleaseTable[row].yearText);
    if (position != std::string::npos && position > 0) {
      return &kReleaseTable[row];
    }
  }
  return nullptr;
}

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
    const std::string keyPath = FormatText(keyPathFormat, releaseKeyName);
    platform::RegKey releaseKey;
    if (registry.OpenKeyEx(branch, releaseKeyName, platform::reg::kKeyRead, releaseKey) !=
        platform::reg::kSuccess) {
      continue;
    }

    foundKeyPaths.clear();
    foundValues.clear();
    valueName = "AcadLocation";
    collectedKeys_ = 0;
    CollectValue(releaseKey, "", "", keyPath, 0);
    const TextList locationPaths = foundKeyPaths;
    const TextList locationValues = foundValues;

    foundKeyPaths.clear();
    foundValues.clear();
    valueName = "ProductName";
    collectedKeys_ = 0;
    CollectValue(releaseKey, "", "", keyPath, 0);
    const TextList& productPaths = foundKeyPaths;
    const TextList& productNames = foundValues;

    // An installation is a key that holds both values; its ProductName decides the release.
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
        productKeyPaths[r].push_back(locationPaths[a]);
        acadLocations[r].push_back(locationValues[a]);
      }
    }
  }
}

void InstallationInventory::CollectValue(platform::KeyRef parent, const char* subKeyName,
                                         std::string relativePath, std::string basePath,
                                         int depth) {
  if (collectedKeys_ >= maxCollectKeys) {
    return;
  }
  ++collectedKeys_;
  platform::Registry& registry = platform_.registry;
  platform::RegKey key;
  if (registry.OpenKeyEx(parent, subKeyName, platform::reg::kKeyRead, key) !=
      platform::reg::kSuccess) {
    return;
  }

  unsigned char data[kValueBufferSize] = {};
  std::uint32_t dataSize = kValueBufferSize;
  std::uint32_t type = 0;
  if (registry.QueryValue(key, valueName.c_str(), &type, data, &dataSize) ==
      platform::reg::kSuccess) {
    // The data is taken as text up to its first NUL, whatever its type; never past its size.
    const std::size_t size = dataSize < kValueBufferSize ? dataSize : kValueBufferSize;
    const void* nul = std::memchr(data, '\0', size);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) - data) : size;
    foundKeyPaths.push_back(basePath + relativePath);
    foundValues.emplace_back(reinterpret_cast<const char*>(data), length);
    return;
  }

  if (depth >= kMaxCollectDepth) {
    return;
  }
  const std::uint32_t count = SubKeyCount(registry, key);
  for (std::uint32_t index = 0; index < count; ++index) {
    char name[kKeyNameBufferSize];
    if (!ReadSubKeyName(registry, key, index, name)) {
      continue;
    }
    CollectValue(key, name, relativePath + name + "\\", basePath, depth + 1);
  }
}

}  // namespace discovery
