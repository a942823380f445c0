#include "uninstall/plot_driver_restore.h"

#include <algorithm>
#include <string>

#include "discovery/text_format.h"
#include "install/owned_places.h"
#include "install/package_data_folder.h"
#include "platform/ansi_text.h"
#include "registration/user_places.h"
#include "uninstall/file_removal.h"
#include "uninstall/registry_removal.h"

namespace uninstall {
namespace {

namespace reg = platform::reg;

// A demand-load key `keyName` below the product key `path` that loads from another folder.
bool LoadsFromElsewhere(platform::Registry& registry, platform::RegRoot root,
                        const std::string& path, const char* keyName, const std::string& folder) {
  const std::string keyPath = install::InFolder(ansi::StripTrailingBackslash(path), keyName);
  platform::RegKey key;
  return registry.OpenKeyEx(root, keyPath.c_str(), reg::kKeyRead, key) == reg::kSuccess &&
         !LoaderInFolder(registry, key, folder);
}

// Whether the product key `productKeyPath` (below HKEY_LOCAL_MACHINE), or the user's product
// key of the same product, holds the release's demand-load key for another folder.
bool OtherInstallationLoads(platform::Registry& registry, const std::string& productKeyPath,
                            int releaseYear, const std::string& folder) {
  install::PathBuffer keyName;
  if (install::DemandLoadKeyName(keyName, releaseYear) == discovery::kTextDidNotFit) return false;
  std::string userPath;
  return LoadsFromElsewhere(registry, platform::RegRoot::LocalMachine, productKeyPath, keyName,
                            folder) ||
         (registration::UserProductKeyPath(productKeyPath, userPath) &&
          LoadsFromElsewhere(registry, platform::RegRoot::CurrentUser, userPath, keyName, folder));
}

}  // namespace

void RestorePlotDrivers(platform::Platform platform,
                        const discovery::InstallationInventory& inventory,
                        const std::string& productFolder, RemovalReport& report) {
  platform::FileSystem& files = platform.files;
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    if (!row.copiesPlotDriver) continue;
    const auto index = static_cast<std::size_t>(row.releaseIndex);
    const discovery::TextList& locations = inventory.acadLocations[index];
    const discovery::TextList& productKeys = inventory.productKeyPaths[index];
    // Entry k of both lists came from the same product key; both registry branches may name
    // one location, which keeps its driver while either still loads the plug-in.
    discovery::TextList stillLoaded;
    for (std::size_t k = 0; k < locations.size() && k < productKeys.size(); ++k) {
      if (OtherInstallationLoads(platform.registry, productKeys[k], row.releaseYear,
                                 productFolder)) {
        stillLoaded.push_back(ansi::StripTrailingBackslash(locations[k]));
      }
    }
    for (const std::string& location : locations) {
      if (std::any_of(stillLoaded.begin(), stillLoaded.end(), [&](const std::string& loaded) {
            return ansi::EqualsNoCase(loaded, ansi::StripTrailingBackslash(location));
          })) {
        continue;
      }
      char drivers[discovery::kPathBufferSize];
      if (install::DriversFolder(drivers, location.c_str()) == discovery::kTextDidNotFit) {
        continue;
      }
      const std::string kept = install::InFolder(drivers, install::kKeptPlotDriverName);
      const std::string driver = install::InFolder(drivers, install::kPlotDriverName);
      if (install::GetPathKind(files, kept) != install::PathIsFile) continue;
      install::ClearReadOnly(files, driver);
      if (files.Copy(kept.c_str(), driver.c_str(), false)) {
        RemoveOneFile(files, kept, false, report);
      } else {
        ReportRefusal(files, driver, files.LastError(), false, report);
      }
    }
  }
}

}  // namespace uninstall
