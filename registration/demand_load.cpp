// Tells AutoCAD to load the plug-in's module at start-up: one demand-load key per product key
// of a ticked release, below HKEY_LOCAL_MACHINE, as AutoCAD's documented demand-loading
// convention has it (LOADCTRLS 2 = load on start-up, LOADER = the module's full path).

#include "registration/demand_load.h"

#include <array>

#include "discovery/text_format.h"
#include "registration/trusted_paths.h"

namespace registration {
namespace {

namespace reg = platform::reg;
using discovery::kPathBufferSize;
using discovery::kTextDidNotFit;

constexpr std::uint32_t kLoadOnStartUp = 2;

bool SetDword(platform::Registry& registry, platform::KeyRef key, const char* name,
              std::uint32_t number) {
  // REG_DWORD is little-endian whatever the machine that forms it.
  const std::array<unsigned char, 4> data{
      static_cast<unsigned char>(number & 0xFF), static_cast<unsigned char>((number >> 8) & 0xFF),
      static_cast<unsigned char>((number >> 16) & 0xFF),
      static_cast<unsigned char>((number >> 24) & 0xFF)};
  return registry.SetValue(key, name, reg::kTypeDword, data.data(),
                           static_cast<std::uint32_t>(data.size())) == reg::kSuccess;
}

bool SetString(platform::Registry& registry, platform::KeyRef key, const char* name,
               const char* text, int length) {
  return registry.SetValue(key, name, reg::kTypeSz, reinterpret_cast<const unsigned char*>(text),
                           static_cast<std::uint32_t>(length) + 1) == reg::kSuccess;
}

// One product key: a fresh demand-load key holding exactly the two values. False when a
// write failed.
bool RegisterUnderProductKey(platform::Registry& registry, const std::string& productKeyPath,
                             const char* keyName, const char* loader, int loaderLength) {
  platform::RegKey productKey;
  if (registry.OpenKey(platform::RegRoot::LocalMachine, productKeyPath.c_str(), productKey) !=
      reg::kSuccess) {
    // The product was removed since the scan: there is nothing to tell.
    return true;
  }
  // A key left by an earlier installation loses its stale values; one with sub-keys stays
  // (RegDeleteKey is not recursive) and only its two values are replaced.
  registry.DeleteKey(productKey, keyName);
  platform::RegKey demandLoadKey;
  if (registry.CreateKey(productKey, keyName, demandLoadKey) != reg::kSuccess) {
    return false;
  }
  const bool controlsWritten = SetDword(registry, demandLoadKey, "LOADCTRLS", kLoadOnStartUp);
  const bool loaderWritten = SetString(registry, demandLoadKey, "LOADER", loader, loaderLength);
  return controlsWritten && loaderWritten;
}

}  // namespace

bool RegisterArxForRelease(const discovery::InstallationInventory& inventory,
                           platform::Registry& registry, int releaseYear) {
  const discovery::ReleaseRow* row = discovery::FindReleaseByYear(releaseYear);
  if (row == nullptr) {
    return true;
  }
  char keyName[kPathBufferSize] = {};
  const int keyNameLength =
      discovery::FormatPath(keyName, "Applications\\ZV_BatchPlot%d", row->releaseYear);
  char loader[kPathBufferSize] = {};
  const int loaderLength = discovery::FormatPath(loader, "%s\\ZV_BatchPlot%d.ARX",
                                                 inventory.installFolder.c_str(), row->moduleYear);

  bool allWritten = true;
  for (const std::string& productKeyPath : inventory.productKeyPaths[row->releaseIndex]) {
    // A cut module path would make AutoCAD load some other file, or nothing: such a product
    // key is left as it is, and the registration counts as failed.
    if (keyNameLength == kTextDidNotFit || loaderLength == kTextDidNotFit) {
      allWritten = false;
      continue;
    }
    if (!RegisterUnderProductKey(registry, productKeyPath, keyName, loader, loaderLength)) {
      allWritten = false;
    }
  }
  return allWritten;
}

bool RegisterSelectedReleases(const discovery::InstallationInventory& inventory,
                              platform::Registry& registry, const discovery::ReleaseFlags& flags) {
  bool allWritten = true;
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    if (flags[static_cast<std::size_t>(row.releaseIndex)] != 0 &&
        !RegisterArxForRelease(inventory, registry, row.releaseYear)) {
      allWritten = false;
    }
  }
  // Profiles are trusted whatever was ticked; AutoCAD only reads them, so their outcome does
  // not decide whether the plug-in was registered.
  UpdateTrustedPaths(inventory, registry);
  return allWritten;
}

}  // namespace registration
