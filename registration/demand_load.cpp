// Tells AutoCAD to load the plug-in's module at start-up: one demand-load key per product key
// of a ticked release, below HKEY_LOCAL_MACHINE, as AutoCAD's documented demand-loading
// convention has it (LOADCTRLS 2 = load on start-up, LOADER = the module's full path). Where
// the machine-wide key is refused, the same key goes below the user's product key, which
// AutoCAD reads first.

#include "registration/demand_load.h"

#include <algorithm>
#include <string>
#include <vector>

#include "discovery/text_format.h"
#include "install/owned_places.h"
#include "platform/ansi_text.h"
#include "platform/registry_values.h"
#include "registration/trusted_paths.h"
#include "registration/user_places.h"

namespace registration {
namespace {

namespace reg = platform::reg;
using discovery::kPathBufferSize;
using discovery::kTextDidNotFit;

constexpr std::uint32_t kLoadOnStartUp = 2;

struct DemandLoadEntry {
  const char* keyName;
  const char* loader;
  int loaderLength;
};

// A release's key name and module path, formed once for all its product keys. A cut one
// would make AutoCAD load some other file, or nothing: it is never written.
struct FormedEntry {
  char keyName[kPathBufferSize] = {};
  char loader[kPathBufferSize] = {};
  // Formed after the buffers, which are declared first.
  int keyNameLength;
  int loaderLength;

  FormedEntry(const discovery::InstallationInventory& inventory, const discovery::ReleaseRow& row)
      : keyNameLength(install::DemandLoadKeyName(keyName, row.releaseYear)),
        loaderLength(
            install::ModulePath(loader, inventory.installFolder.c_str(), row.moduleYear)) {}
  bool Fits() const { return keyNameLength != kTextDidNotFit && loaderLength != kTextDidNotFit; }
  DemandLoadEntry Entry() const { return {keyName, loader, loaderLength}; }
};

std::string_view LoaderText(const DemandLoadEntry& entry) {
  return {entry.loader, static_cast<std::size_t>(entry.loaderLength)};
}

// A fresh demand-load key below `parent` holding exactly the two values. A key left by an
// earlier installation loses its stale values; one with sub-keys stays (RegDeleteKey is not
// recursive) and only its two values are replaced. False when a write failed.
bool WriteDemandLoadKey(platform::Registry& registry, platform::KeyRef parent,
                        const DemandLoadEntry& entry) {
  registry.DeleteKey(parent, entry.keyName);
  platform::RegKey demandLoadKey;
  if (registry.CreateKey(parent, entry.keyName, demandLoadKey) != reg::kSuccess) {
    return false;
  }
  const bool controlsWritten =
      platform::SetNumberValue(registry, demandLoadKey, install::kLoadControlsValueName,
                               kLoadOnStartUp);
  const bool loaderWritten =
      platform::SetTextValue(registry, demandLoadKey, install::kLoaderValueName, LoaderText(entry));
  return controlsWritten && loaderWritten;
}

// AutoCAD reads the user's demand-load keys before the machine's, so a key left by an earlier
// installation for this user alone would keep loading its old module. It goes; a key that has
// sub-keys was not made by this setup alone and stays, but names the new module.
void RemoveUserShadow(platform::Registry& registry, const platform::RegKey& userProductKey,
                      const DemandLoadEntry& entry) {
  if (registry.DeleteKey(userProductKey, entry.keyName) == reg::kSuccess) {
    return;
  }
  platform::RegKey stale;
  if (registry.OpenKey(userProductKey, entry.keyName, stale) == reg::kSuccess) {
    platform::SetNumberValue(registry, stale, install::kLoadControlsValueName, kLoadOnStartUp);
    platform::SetTextValue(registry, stale, install::kLoaderValueName, LoaderText(entry));
  }
}

enum class Placed { Nowhere, MachineWide, PerUser, ProductGone };

// One product key: the demand-load key below HKEY_LOCAL_MACHINE, or where that is refused
// (a user without administrator rights), below the current user's product key of the same
// release and product. The user's product key is AutoCAD's own, made at its first start for
// the user: it is never created here. Both registry branches of one product share one user
// key: `writtenForUser` holds the user keys this release has already written, which a
// machine-wide success of the other branch must not take away again.
Placed RegisterUnderProductKey(platform::Registry& registry, const std::string& productKeyPath,
                               const DemandLoadEntry& entry,
                               std::vector<std::string>& writtenForUser) {
  platform::RegKey productKey;
  if (registry.OpenKey(platform::RegRoot::LocalMachine, productKeyPath.c_str(), productKey) !=
      reg::kSuccess) {
    // The product was removed since the scan: there is nothing to tell.
    return Placed::ProductGone;
  }
  std::string userPath;
  platform::RegKey userProductKey;
  const bool userKeyExists =
      UserProductKeyPath(productKeyPath, userPath) &&
      registry.OpenKey(platform::RegRoot::CurrentUser, userPath.c_str(), userProductKey) ==
          reg::kSuccess;
  const auto sameUserKey = [&userPath](const std::string& written) {
    return ansi::EqualsNoCase(ansi::StripTrailingBackslash(written),
                              ansi::StripTrailingBackslash(userPath));
  };
  if (WriteDemandLoadKey(registry, productKey, entry)) {
    if (userKeyExists &&
        std::none_of(writtenForUser.begin(), writtenForUser.end(), sameUserKey)) {
      RemoveUserShadow(registry, userProductKey, entry);
    }
    return Placed::MachineWide;
  }
  if (userKeyExists && WriteDemandLoadKey(registry, userProductKey, entry)) {
    writtenForUser.push_back(userPath);
    return Placed::PerUser;
  }
  return Placed::Nowhere;
}

}  // namespace

void RegisterArxForRelease(const discovery::InstallationInventory& inventory,
                           platform::Registry& registry, int releaseYear,
                           RegistrationOutcome& outcome) {
  const discovery::ReleaseRow* row = discovery::FindReleaseByYear(releaseYear);
  if (row == nullptr) {
    return;
  }
  const FormedEntry formed(inventory, *row);
  const DemandLoadEntry entry = formed.Entry();
  ReleaseOutcome& release = outcome.releases[static_cast<std::size_t>(row->releaseIndex)];
  std::vector<std::string> writtenForUser;

  for (const std::string& productKeyPath : inventory.productKeyPaths[row->releaseIndex]) {
    // Such a product key is left as it is, and the release is not registered.
    if (!formed.Fits()) {
      release.loadingMissing = true;
      continue;
    }
    switch (RegisterUnderProductKey(registry, productKeyPath, entry, writtenForUser)) {
      case Placed::PerUser:
        release.perUser = true;
        break;
      case Placed::Nowhere:
        release.loadingMissing = true;
        break;
      case Placed::MachineWide:
      case Placed::ProductGone:
        break;
    }
  }
}

void RegisterArxMachineWide(const discovery::InstallationInventory& inventory,
                            platform::Registry& registry, int releaseYear,
                            discovery::TextList& written, discovery::TextList& refused) {
  const discovery::ReleaseRow* row = discovery::FindReleaseByYear(releaseYear);
  if (row == nullptr) return;
  const FormedEntry formed(inventory, *row);
  const DemandLoadEntry entry = formed.Entry();
  for (const std::string& productKeyPath : inventory.productKeyPaths[row->releaseIndex]) {
    const std::string place = "HKEY_LOCAL_MACHINE\\" + productKeyPath + formed.keyName;
    platform::RegKey productKey;
    if (!formed.Fits()) {
      refused.push_back(place);
    } else if (registry.OpenKey(platform::RegRoot::LocalMachine, productKeyPath.c_str(),
                                productKey) == reg::kSuccess) {
      (WriteDemandLoadKey(registry, productKey, entry) ? written : refused).push_back(place);
    }
  }
}

void RegisterSelectedReleases(const discovery::InstallationInventory& inventory,
                              platform::Registry& registry, const discovery::ReleaseFlags& flags,
                              RegistrationOutcome& outcome) {
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    if (flags[static_cast<std::size_t>(row.releaseIndex)] != 0) {
      RegisterArxForRelease(inventory, registry, row.releaseYear, outcome);
    }
  }
  // Profiles are trusted whatever was ticked; they live in the user's own keys, which the user
  // may always write.
  UpdateTrustedPaths(inventory, registry);
}

}  // namespace registration
