// What the setup told AutoCAD, taken back: the demand-load keys and the trusted folder.

#include "uninstall/registry_removal.h"

#include <cstdint>

#include "discovery/enum_sub_key_names.h"
#include "discovery/installation_inventory.h"
#include "discovery/text_format.h"
#include "platform/ansi_text.h"
#include "platform/registry_values.h"
#include "install/owned_places.h"
#include "install/product_identity.h"
#include "platform/built_in_text.h"
#include "registration/active_setup.h"
#include "registration/demand_load.h"
#include "registration/trusted_paths.h"
#include "registration/trusted_paths_text.h"
#include "registration/trusted_paths_value_io.h"

namespace uninstall {
namespace {

namespace reg = platform::reg;
using platform::RegRoot;

constexpr int kFirstYear = 2007;
constexpr int kLastYear = 2025;

std::string RootName(RegRoot root) {
  return root == RegRoot::LocalMachine ? "HKEY_LOCAL_MACHINE\\" : "HKEY_CURRENT_USER\\";
}

}  // namespace

discovery::TextList UserProductKeys(platform::Registry& registry) {
  discovery::TextList keys;
  const std::string acadPath = "Software\\Autodesk\\AutoCAD";
  platform::RegKey acad;
  if (registry.OpenKeyEx(RegRoot::CurrentUser, acadPath.c_str(), reg::kKeyRead, acad) !=
      reg::kSuccess) {
    return keys;
  }
  discovery::TextList releases;
  discovery::EnumSubKeyNames(registry, acad, releases);
  for (const std::string& release : releases) {
    platform::RegKey releaseKey;
    if (registry.OpenKeyEx(acad, release.c_str(), reg::kKeyRead, releaseKey) != reg::kSuccess) {
      continue;
    }
    discovery::TextList products;
    discovery::EnumSubKeyNames(registry, releaseKey, products);
    for (const std::string& product : products) {
      keys.push_back(acadPath + "\\" + release + "\\" + product);
    }
  }
  return keys;
}

bool LoaderInFolder(platform::Registry& registry, const platform::RegKey& key,
                    const std::string& productFolder) {
  std::string loader;
  std::uint32_t type = reg::kTypeNone;
  if (!platform::ReadPathValue(registry, key, install::kLoaderValueName, loader, type) ||
      (type != reg::kTypeSz && type != reg::kTypeExpandSz)) {
    return false;
  }
  const std::string_view text(loader);
  const std::size_t slash = ansi::FindLastBackslash(text);
  return slash != std::string_view::npos &&
         ansi::EqualsNoCase(text.substr(0, slash), productFolder);
}

namespace {

void RemoveBelowProductKey(platform::Platform platform, RegRoot root,
                           const std::string& productKeyPath, const std::string& productFolder,
                           RemovalReport& report) {
  platform::Registry& registry = platform.registry;
  platform::RegKey productKey;
  if (registry.OpenKey(root, productKeyPath.c_str(), productKey) != reg::kSuccess) {
    return;
  }
  for (int year = kFirstYear; year <= kLastYear; ++year) {
    char keyName[discovery::kPathBufferSize];
    if (install::DemandLoadKeyName(keyName, year) == discovery::kTextDidNotFit) {
      continue;
    }
    bool ours = false;
    {
      platform::RegKey demandLoadKey;
      ours = registry.OpenKeyEx(productKey, keyName, reg::kKeyRead, demandLoadKey) ==
                 reg::kSuccess &&
             LoaderInFolder(registry, demandLoadKey, productFolder);
    }
    const long deleted = ours ? registry.DeleteKey(productKey, keyName) : reg::kSuccess;
    if (deleted == reg::kSuccess || deleted == reg::kFileNotFound) continue;
    std::string key = RootName(root) + ansi::StripTrailingBackslash(productKeyPath) + "\\" + keyName;
    if (deleted == reg::kAccessDenied) {
      report.Add(std::move(key), RemovalRefused::NoRights);
    } else {
      report.AddWithError(std::move(key), platform.files.ErrorText(static_cast<std::uint32_t>(deleted)));
    }
  }
}

}  // namespace

void RemoveDemandLoadKeys(platform::Platform platform,
                          const discovery::InstallationInventory& inventory,
                          const std::string& productFolder, RemovalReport& report) {
  for (const discovery::TextList& paths : inventory.productKeyPaths) {
    for (const std::string& path : paths) {
      RemoveBelowProductKey(platform, RegRoot::LocalMachine, path, productFolder, report);
    }
  }
  for (const std::string& path : UserProductKeys(platform.registry)) {
    RemoveBelowProductKey(platform, RegRoot::CurrentUser, path, productFolder, report);
  }
}

void RemoveTrustedFolder(platform::Registry& registry, const std::string& productFolder,
                         RemovalReport& report) {
  const std::u16string folder = registration::trusted_paths_text::FromCodePage(productFolder);
  for (const std::string& variablesKey : registration::ProfileVariablesKeys(registry)) {
    std::u16string value;
    if (registration::ReadTrustedPaths(registry, variablesKey, value) !=
        registration::TrustedPathsRead::Read) {
      continue;
    }
    const std::u16string kept = registration::RemoveTrustedFolder(value, folder);
    if (kept == value) {
      continue;
    }
    // A value left with no entry goes: the setup made it, or it trusted nothing before. The
    // Variables key stays, as it may have been there before the installation.
    platform::RegKey key;
    if (registry.OpenKey(RegRoot::CurrentUser, variablesKey.c_str(), key) != reg::kSuccess ||
        !(kept.empty() ? registration::DeleteTrustedPaths(registry, key)
                       : registration::WriteTrustedPaths(registry, key, kept))) {
      report.Add(RootName(RegRoot::CurrentUser) + variablesKey + " (TRUSTEDPATHS)",
                 RemovalRefused::NoRights);
    }
  }
}

void RemoveActiveSetupComponent(platform::Platform platform, const std::string& productFolder,
                                RemovalReport& report) {
  platform::Registry& registry = platform.registry;
  const std::string path = ansi::BuiltIn(install::kActiveSetupComponentPath);
  {
    platform::RegKey component;
    if (registry.OpenKeyEx(RegRoot::LocalMachine, path.c_str(), reg::kKeyRead, component) ==
        reg::kSuccess) {
      std::uint32_t type = reg::kTypeNone;
      // A command longer than a path and its arguments is not one the setup wrote.
      char text[2 * discovery::kPathBufferSize + 64] = {};
      std::uint32_t size = sizeof text - 1;
      const bool ours = registry.QueryValue(component, "StubPath", &type,
                                            reinterpret_cast<unsigned char*>(text), &size) ==
                            reg::kSuccess &&
                        reg::IsStringType(type) &&
                        registration::StubPathNamesFolder(text, productFolder);
      if (!ours) return;
    }
  }
  for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    const long deleted = registry.DeleteKey(root, path.c_str());
    if (deleted == reg::kSuccess || deleted == reg::kFileNotFound) continue;
    if (deleted == reg::kAccessDenied) {
      report.Add(RootName(root) + path, RemovalRefused::NoRights);
    } else {
      report.AddWithError(RootName(root) + path,
                          platform.files.ErrorText(static_cast<std::uint32_t>(deleted)));
    }
  }
}

}  // namespace uninstall
