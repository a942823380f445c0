// Adds the product folder to TRUSTEDPATHS of every AutoCAD profile of the current user, so
// that AutoCAD loads the plug-in's module from there without asking.
//
// Layout below HKEY_CURRENT_USER: the key
//   SOFTWARE\Autodesk\AutoCAD\<release>\<product>\Profiles\<profile>\Variables
// holds TRUSTEDPATHS. Every release key is served, ticked or not, and
// release keys the release table does not know as well: a profile is trusted per user, not
// per installation.

#include "registration/trusted_paths.h"

#include <string>
#include <vector>

#include "discovery/enum_sub_key_names.h"
#include "discovery/text_format.h"
#include "install/owned_places.h"
#include "platform/ansi_text.h"
#include "registration/trusted_paths_text.h"
#include "registration/trusted_paths_value_io.h"

namespace registration {
namespace {

using discovery::TextList;
using platform::RegKey;
using platform::RegRoot;
namespace reg = platform::reg;

// "<parent>\<name>\<leaf>": a trailing backslash of the formatted part is dropped first.
std::string JoinKeyPath(const char* format, const char* first, const char* second,
                        const char* leaf) {
  std::string path = ansi::StripTrailingBackslash(discovery::FormatText(format, first, second));
  path += '\\';
  path += leaf;
  return path;
}

// The Profiles key of every product of every release key.
TextList CollectProfileListKeys(platform::Registry& registry) {
  TextList profileLists;
  RegKey currentUser;
  if (registry.OpenKey(RegRoot::CurrentUser, nullptr, currentUser) != reg::kSuccess) {
    return profileLists;
  }
  RegKey acad;
  if (registry.OpenKeyEx(currentUser, "SOFTWARE\\Autodesk\\AutoCAD", reg::kKeyRead, acad) !=
      reg::kSuccess) {
    return profileLists;
  }
  const std::uint32_t releaseCount = discovery::SubKeyCount(registry, acad);
  for (std::uint32_t index = 0; index < releaseCount; ++index) {
    char releaseName[discovery::kKeyNameBufferSize];
    // An unreadable name would open the AutoCAD key itself in its place.
    if (!discovery::ReadSubKeyName(registry, acad, index, releaseName)) {
      continue;
    }
    RegKey release;
    if (registry.OpenKeyEx(acad, releaseName, reg::kKeyRead, release) != reg::kSuccess) {
      continue;
    }
    TextList products;
    discovery::EnumSubKeyNames(registry, release, products);
    for (const std::string& product : products) {
      profileLists.push_back(JoinKeyPath("SOFTWARE\\Autodesk\\AutoCAD\\%s\\%s", releaseName,
                                         product.c_str(), "Profiles"));
    }
  }
  return profileLists;
}

// The Variables key of every profile; a product without Profiles contributes nothing.
TextList CollectVariablesKeys(platform::Registry& registry, const TextList& profileLists) {
  TextList variables;
  RegKey currentUser;
  if (registry.OpenKey(RegRoot::CurrentUser, nullptr, currentUser) != reg::kSuccess) {
    return variables;
  }
  for (const std::string& profileList : profileLists) {
    RegKey list;
    if (registry.OpenKeyEx(currentUser, profileList.c_str(), reg::kKeyRead, list) !=
        reg::kSuccess) {
      continue;
    }
    TextList profiles;
    discovery::EnumSubKeyNames(registry, list, profiles);
    for (const std::string& profile : profiles) {
      variables.push_back(
          JoinKeyPath("%s\\%s", profileList.c_str(), profile.c_str(), install::kVariablesKeyName));
    }
  }
  return variables;
}

}  // namespace

ProfileTrust TrustFolderInProfile(platform::Registry& registry, const std::string& variablesKey,
                                  std::u16string_view installFolder, TrustedValue trusted) {
  std::u16string currentValue;
  const TrustedPathsRead read = ReadTrustedPaths(registry, variablesKey, currentValue);
  if (read == TrustedPathsRead::Unreadable) {
    // Writing now would replace the entries of other programs that could not be read.
    return ProfileTrust::Refused;
  }
  if (trusted == TrustedValue::Kept && read == TrustedPathsRead::Read &&
      RemoveTrustedFolder(currentValue, installFolder) != currentValue) {
    return ProfileTrust::AlreadyTrusted;
  }
  const std::u16string newValue = FormTrustedPathsValue(currentValue, installFolder);
  RegKey key;
  if (registry.CreateKey(RegRoot::CurrentUser, variablesKey.c_str(), key) != reg::kSuccess ||
      !WriteTrustedPaths(registry, key, newValue)) {
    return ProfileTrust::Refused;
  }
  return ProfileTrust::Written;
}

TextList ProfileVariablesKeys(platform::Registry& registry) {
  return CollectVariablesKeys(registry, CollectProfileListKeys(registry));
}

void UpdateTrustedPaths(const discovery::InstallationInventory& inventory,
                        platform::Registry& registry) {
  const TextList variablesKeys = ProfileVariablesKeys(registry);
  // The folder is narrow text of the ANSI code page; the value is UTF-16.
  const std::u16string installFolder =
      trusted_paths_text::FromCodePage(inventory.installFolder);
  for (const std::string& variablesKey : variablesKeys) {
    TrustFolderInProfile(registry, variablesKey, installFolder, TrustedValue::Rewritten);
  }
}

}  // namespace registration
