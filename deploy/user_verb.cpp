// user: what an installation keeps in the user's own keys and folders. Active
// Setup runs it at each user's logon, before the desktop appears, so it reads little and
// writes only what is missing.

#include "deploy/verbs.h"

#include <string_view>

#include "discovery/release_table.h"
#include "discovery/text_format.h"
#include "install/package_copy.h"
#include "install/package_data_folder.h"
#include "install/owned_places.h"
#include "install/product_identity.h"
#include "registration/trusted_paths.h"
#include "registration/trusted_paths_text.h"
#include "uninstall/registry_removal.h"

namespace deploy {
namespace {

namespace reg = platform::reg;
using platform::RegRoot;

// Each profile of every product the user has started, as the dialog's installation trusts it;
// a profile that trusts the folder already is left alone.
void TrustFolder(platform::Registry& registry, const std::string& productFolder,
                 Journal& journal) {
  const std::u16string folder = registration::trusted_paths_text::FromCodePage(productFolder);
  for (const std::string& key : registration::ProfileVariablesKeys(registry)) {
    const std::string place = "HKEY_CURRENT_USER\\" + key + " (TRUSTEDPATHS)";
    switch (registration::TrustFolderInProfile(registry, key, folder,
                                               registration::TrustedValue::Kept)) {
      case registration::ProfileTrust::AlreadyTrusted:
        journal.done.push_back("already trusted in " + place);
        break;
      case registration::ProfileTrust::Written:
        journal.done.push_back("trusted in " + place);
        break;
      case registration::ProfileTrust::Refused:
        journal.refused.push_back("trusted in " + place);
        break;
    }
  }
}

// The package's settings as the user's own, unless the user has settings already.
void GiveSettings(platform::FileSystem& files, const std::string& productFolder,
                  Journal& journal) {
  char appData[platform::kMaxPath] = {};
  install::PathBuffer folder = {};
  install::PathBuffer settings = {};
  if (!install::FindAppDataFolder(files, appData) ||
      install::SettingsFolder(folder, appData) == discovery::kTextDidNotFit ||
      install::SettingsFile(settings, appData) == discovery::kTextDidNotFit) {
    journal.refused.push_back(std::string("settings file %APPDATA%\\") +
                              install::kSettingsFolderName + "\\" + install::kSettingsFileName);
    return;
  }
  if (install::GetPathKind(files, settings) != install::PathMissing) {
    journal.done.push_back(std::string("kept the user's ") + settings);
    return;
  }
  const std::string source = install::InFolder(productFolder, install::kSettingsTemplateName);
  if (install::GetPathKind(files, folder) == install::PathMissing) files.CreateFolder(folder);
  if (!files.Copy(source.c_str(), settings, true)) {
    journal.refused.push_back(std::string("settings file ") + settings);
    return;
  }
  install::ClearReadOnly(files, settings);
  files.RemoveStream(settings, install::kDownloadMarkStream);
  journal.done.push_back(std::string("copied ") + settings);
}

// Whether the machine's demand-load key `keyName` of the product that the user's product key
// `userPath` ("Software\...") stands for, in either registry branch, names the product folder.
bool MachineKeyNamesFolder(platform::Registry& registry, std::string_view userPath,
                           const char* keyName, const std::string& productFolder) {
  const std::string_view below = userPath.substr(userPath.find('\\') + 1);
  for (const char* branch : {"SOFTWARE\\", "SOFTWARE\\Wow6432Node\\"}) {
    const std::string path = install::InFolder(std::string(branch).append(below), keyName);
    platform::RegKey machineKey;
    if (registry.OpenKeyEx(RegRoot::LocalMachine, path.c_str(), reg::kKeyRead, machineKey) ==
            reg::kSuccess &&
        uninstall::LoaderInFolder(registry, machineKey, productFolder)) {
      return true;
    }
  }
  return false;
}

// AutoCAD reads the user's demand-load key before the machine's: where the machine's names the
// product folder, a user key of the same name that names another folder would load that. The
// walk starts from the user's own product keys, which are few, and not from a scan of the
// machine's, which may be many: this runs while the user's logon waits.
void RemoveHidingKeys(platform::Registry& registry, const std::string& productFolder,
                      Journal& journal) {
  for (const std::string& userPath : uninstall::UserProductKeys(registry)) {
    platform::RegKey userProductKey;
    if (registry.OpenKey(RegRoot::CurrentUser, userPath.c_str(), userProductKey) !=
        reg::kSuccess) {
      continue;
    }
    for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
      install::PathBuffer keyName = {};
      platform::RegKey userKey;
      if (install::DemandLoadKeyName(keyName, row.releaseYear) == discovery::kTextDidNotFit ||
          registry.OpenKeyEx(userProductKey, keyName, reg::kKeyRead, userKey) != reg::kSuccess ||
          uninstall::LoaderInFolder(registry, userKey, productFolder) ||
          !MachineKeyNamesFolder(registry, userPath, keyName, productFolder)) {
        continue;
      }
      userKey = platform::RegKey();
      const std::string place = "HKEY_CURRENT_USER\\" + install::InFolder(userPath, keyName);
      if (registry.DeleteKey(userProductKey, keyName) == reg::kSuccess) {
        journal.done.push_back("removed " + place);
      } else {
        journal.refused.push_back("removal of " + place);
      }
    }
  }
}

}  // namespace

void DeployUser(platform::Platform platform, const DeployCommand& command, Journal& journal) {
  TrustFolder(platform.registry, command.folder, journal);
  GiveSettings(platform.files, command.folder, journal);
  RemoveHidingKeys(platform.registry, command.folder, journal);
}

}  // namespace deploy
