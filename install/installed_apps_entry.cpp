// The product's entry in Windows' installed apps, written by the setup after a successful
// installation; its values follow Windows' documented uninstall registry key.

#include "install/installed_apps_entry.h"

#include <cstdint>

#include "discovery/text_format.h"
#include "install/package_data_folder.h"
#include "install/product_folder.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "platform/folder_listing.h"
#include "platform/registry_values.h"

namespace install {
namespace {

namespace reg = platform::reg;
using platform::RegRoot;

// The files of the product folder and its sub-folders, in KB rounded up, as Windows shows
// the size of an app. What a link there points to belongs elsewhere and is not counted.
std::uint32_t FolderSizeKb(platform::FileSystem& files, const std::string& folder) {
  std::uint64_t bytes = 0;
  for (const platform::FindData& entry : platform::ListFolder(files, folder)) {
    if ((entry.attributes & platform::attr::kReparsePoint) != 0) continue;
    if ((entry.attributes & platform::attr::kDirectory) != 0) {
      bytes += std::uint64_t{FolderSizeKb(files, folder + "\\" + entry.fileName)} * 1024;
    } else {
      bytes += entry.size;
    }
  }
  return static_cast<std::uint32_t>((bytes + 1023) / 1024);
}

std::string VersionText() {
  return discovery::FormatText("%d.%d.%d", setupVersion / 10000, setupVersion % 10000 / 100,
                               setupVersion % 100);
}

// InstallDate's form, which installed apps read as the day of the installation.
std::string DateText(platform::CalendarDate date) {
  return discovery::FormatText("%04u%02u%02u", unsigned{date.year}, unsigned{date.month},
                               unsigned{date.day});
}

bool WriteEntryUnder(platform::Platform platform, RegRoot root, const std::string& productFolder,
                     std::uint32_t sizeKb, long& refusal) {
  platform::Registry& registry = platform.registry;
  // The entry has no sub-keys, so this takes an earlier installation's entry away whole.
  registry.DeleteKey(root, ansi::BuiltIn(kInstalledAppsEntryPath));
  platform::RegKey key;
  refusal = registry.CreateKey(root, ansi::BuiltIn(kInstalledAppsEntryPath), key);
  if (refusal != reg::kSuccess) {
    return false;
  }
  const std::string uninstaller = productFolder + "\\" + kUninstallerName;
  const bool written =
      platform::SetTextValue(registry, key, "DisplayName", ansi::BuiltIn(kInstalledAppsDisplayName)) &&
      platform::SetTextValue(registry, key, "DisplayVersion", VersionText()) &&
      platform::SetTextValue(registry, key, "Publisher", kInstalledAppsPublisher) &&
      platform::SetTextValue(registry, key, "InstallDate", DateText(platform.processes.LocalDate())) &&
      platform::SetTextValue(registry, key, "DisplayIcon", uninstaller) &&
      platform::SetTextValue(registry, key, "InstallLocation", productFolder) &&
      platform::SetTextValue(registry, key, "UninstallString", "\"" + uninstaller + "\"") &&
      platform::SetTextValue(registry, key, "QuietUninstallString",
                             "\"" + uninstaller + "\" " + kQuietUninstallSwitch) &&
      platform::SetNumberValue(registry, key, "NoModify", 1) && platform::SetNumberValue(registry, key, "NoRepair", 1) &&
      platform::SetNumberValue(registry, key, "EstimatedSize", sizeKb);
  if (!written) {
    // A key that lacks the uninstall command would show an app that cannot be removed.
    refusal = reg::kAccessDenied;
    key.Close();
    registry.DeleteKey(root, ansi::BuiltIn(kInstalledAppsEntryPath));
  }
  return written;
}

// The folder above a product folder an entry names.
bool ChosenFolderOf(const std::string& productFolder, std::string& chosenFolder) {
  const std::size_t slash = ansi::FindLastBackslash(productFolder);
  if (slash == std::string::npos ||
      !ansi::EqualsNoCase(std::string_view(productFolder).substr(slash + 1),
                          ansi::BuiltIn(kProductFolderName))) {
    return false;
  }
  chosenFolder = productFolder.substr(0, slash);
  return IsAbsoluteFolder(chosenFolder);
}

}  // namespace

EntryWrite WriteInstalledAppsEntry(platform::Platform platform, const std::string& productFolder,
                                   long& refusal) {
  const std::string uninstaller = productFolder + "\\" + kUninstallerName;
  if (uninstaller.size() >= discovery::kPathBufferSize ||
      GetPathKind(platform.files, uninstaller) != PathIsFile) {
    return EntryWrite::NoUninstaller;
  }
  const std::uint32_t sizeKb = FolderSizeKb(platform.files, productFolder);
  if (WriteEntryUnder(platform, RegRoot::LocalMachine, productFolder, sizeKb, refusal)) {
    // An earlier installation for this user alone into the same folder would show the app
    // twice.
    std::string userFolder;
    if (ReadInstalledAppsLocation(platform.registry, RegRoot::CurrentUser, userFolder) &&
        ansi::EqualsNoCase(userFolder, productFolder)) {
      platform.registry.DeleteKey(RegRoot::CurrentUser, ansi::BuiltIn(kInstalledAppsEntryPath));
    }
    return EntryWrite::ForMachine;
  }
  return WriteEntryUnder(platform, RegRoot::CurrentUser, productFolder, sizeKb, refusal)
             ? EntryWrite::ForUser
             : EntryWrite::Refused;
}

bool EarlierChosenFolder(platform::Platform platform, std::string& chosenFolder) {
  const bool administrator = platform.processes.RunsAsAdministrator();
  for (const RegRoot root : {administrator ? RegRoot::LocalMachine : RegRoot::CurrentUser,
                             administrator ? RegRoot::CurrentUser : RegRoot::LocalMachine}) {
    std::string productFolder;
    if (ReadInstalledAppsLocation(platform.registry, root, productFolder) &&
        ChosenFolderOf(productFolder, chosenFolder)) {
      return true;
    }
  }
  return false;
}

bool ReadInstalledAppsLocation(platform::Registry& registry, platform::RegRoot root,
                               std::string& folder) {
  platform::RegKey key;
  if (registry.OpenKeyEx(root, ansi::BuiltIn(kInstalledAppsEntryPath), reg::kKeyRead, key) !=
      reg::kSuccess) {
    return false;
  }
  std::string text;
  std::uint32_t type = reg::kTypeNone;
  if (!platform::ReadPathValue(registry, key, "InstallLocation", text, type) ||
      type != reg::kTypeSz) {
    return false;
  }
  folder = ansi::StripTrailingBackslash(text);
  return !folder.empty();
}

}  // namespace install
