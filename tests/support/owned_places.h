#pragma once

// The places the product owns on a machine in memory, formed from install/owned_places.h for
// the AutoCAD installations a scan found and one product folder: what the whole-state tests
// allow an installation or a removal to change, and nothing more.

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/installation_inventory.h"
#include "install/owned_places.h"
#include "install/package_copy.h"
#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "registration/user_places.h"

namespace test_support {

struct OwnedPlaces {
  std::string chosenFolder;
  std::string productFolder;  // with everything in it
  // Registry keys as the change lines name them ("HKLM\...", "HKCU\...").
  std::vector<std::string> demandLoadKeys;    // below the found product keys and the user's
  std::vector<std::string> applicationsKeys;  // that hold them, below every user product key too
  std::vector<std::string> variablesKeys;     // of every profile of the user
  std::vector<std::string> fonts;             // in every Fonts folder and user Support folder
  std::vector<std::string> plotDrivers;       // AutoCAD 2008's, and AutoCAD's own kept beside it
  std::vector<std::string> settings;          // the settings folder and file

  bool OwnsFile(std::string_view path) const {
    return ansi::EqualsNoCase(path, chosenFolder) || InProductFolder(path) ||
           Holds(settings, path) || Holds(fonts, path) || Holds(plotDrivers, path);
  }
  static bool Holds(const std::vector<std::string>& places, std::string_view path) {
    return std::any_of(places.begin(), places.end(), [&](const std::string& place) {
      return ansi::EqualsNoCase(place, path);
    });
  }
  bool InProductFolder(std::string_view path) const {
    const std::string inside = productFolder + '\\';
    return ansi::EqualsNoCase(path, productFolder) ||
           (path.size() > inside.size() &&
            ansi::EqualsNoCase(path.substr(0, inside.size()), inside));
  }
};

// The keys of the user's registry right below `parent`.
inline std::vector<std::string> UserSubKeys(const platform::RegistrySnapshot& registry,
                                            const std::string& parent) {
  std::vector<std::string> keys;
  for (const auto& key : registry.keys) {
    const std::string_view path = key.path;
    if (key.root == platform::RegRoot::CurrentUser && path.size() > parent.size() + 1 &&
        ansi::EqualsNoCase(path.substr(0, parent.size() + 1), parent + '\\') &&
        path.find('\\', parent.size() + 1) == std::string_view::npos) {
      keys.push_back(key.path);
    }
  }
  return keys;
}

// The places of an installation into `productFolder` on `machine`, whose AutoCAD installations
// `inventory` found: what the machine holds now (user product keys, profiles, Support folders)
// decides where the installation may go.
inline OwnedPlaces OwnedPlacesOf(platform::MemoryPlatform& machine,
                                 const discovery::InstallationInventory& inventory,
                                 const std::string& productFolder) {
  OwnedPlaces places;
  places.productFolder = productFolder;
  places.chosenFolder = productFolder.substr(0, productFolder.rfind('\\'));
  const auto below = [](const char* root, const std::string& key, const char* name) {
    return std::string(root) + '\\' + install::InFolder(ansi::StripTrailingBackslash(key), name);
  };
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    const auto index = static_cast<std::size_t>(row.releaseIndex);
    install::PathBuffer keyName;
    install::DemandLoadKeyName(keyName, row.releaseYear);
    for (const std::string& productKey : inventory.productKeyPaths[index]) {
      places.demandLoadKeys.push_back(below("HKLM", productKey, keyName));
      places.applicationsKeys.push_back(below("HKLM", productKey, install::kApplicationsKeyName));
      std::string userKey;
      if (registration::UserProductKeyPath(productKey, userKey)) {
        places.demandLoadKeys.push_back(below("HKCU", userKey, keyName));
      }
      std::string support;
      if (registration::UserSupportFolder(machine.registry, machine.files, productKey, support)) {
        for (const char* font : install::kFontNames) {
          places.fonts.push_back(install::InFolder(support, font));
        }
      }
    }
    for (const std::string& location : inventory.acadLocations[index]) {
      install::PathBuffer fonts;
      install::PathBuffer drivers;
      install::FontsFolder(fonts, location.c_str());
      install::DriversFolder(drivers, location.c_str());
      for (const char* font : install::kFontNames) {
        places.fonts.push_back(install::InFolder(fonts, font));
      }
      if (row.copiesPlotDriver) {
        places.plotDrivers.push_back(install::InFolder(drivers, install::kPlotDriverName));
        places.plotDrivers.push_back(install::InFolder(drivers, install::kKeptPlotDriverName));
      }
    }
  }
  // Every product key of the user, as the removal finds them (a release removed from the
  // machine may have left its own), and every profile of each.
  const platform::RegistrySnapshot registry = machine.registry.Snapshot();
  for (const std::string& release : UserSubKeys(registry, "Software\\Autodesk\\AutoCAD")) {
    for (const std::string& product : UserSubKeys(registry, release)) {
      places.applicationsKeys.push_back(below("HKCU", product, install::kApplicationsKeyName));
      for (const std::string& profile : UserSubKeys(registry, product + "\\Profiles")) {
        places.variablesKeys.push_back(below("HKCU", profile, install::kVariablesKeyName));
      }
    }
  }
  install::PathBuffer appData;
  install::PathBuffer folder;
  install::PathBuffer file;
  if (install::FindAppDataFolder(machine.files, appData) &&
      install::SettingsFolder(folder, appData) > 0 && install::SettingsFile(file, appData) > 0) {
    places.settings = {folder, file};
  }
  return places;
}

}  // namespace test_support
