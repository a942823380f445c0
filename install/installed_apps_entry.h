#pragma once

#include <string>

#include "install/product_identity.h"
#include "platform/platform.h"

namespace install {

// The uninstaller's switch for removing without a question or a message box.
inline constexpr const char* kQuietUninstallSwitch = "/quiet";

enum class EntryWrite {
  ForMachine,     // below HKEY_LOCAL_MACHINE: the installation serves every user
  ForUser,        // below HKEY_CURRENT_USER, the machine-wide key being refused
  NoUninstaller,  // the package brought none: nothing could act on an entry
  Refused,        // neither root took the entry whole
};

// Lists the product in installed apps, with today's date (YYYYMMDD, by the machine's clock) as
// the installation's, once the package lies in `productFolder` (no trailing backslash), and
// only when the uninstaller is there: an entry nothing can act on is worse than none. Under
// HKEY_LOCAL_MACHINE, or under HKEY_CURRENT_USER where the machine-wide key is refused; an
// entry of an earlier installation is replaced. Where neither root takes it whole, what was
// begun is taken away again and `refusal` holds the current user's registry error. Beside the
// UninstallString, a QuietUninstallString ("<uninstaller>" /quiet) serves scripts and
// management tools, which remove without anyone at the machine.
EntryWrite WriteInstalledAppsEntry(platform::Platform platform, const std::string& productFolder,
                                   long& refusal);

// InstallLocation of the entry below `root`, without a trailing backslash. False when there is
// no entry, no such text value, or it does not fit a path.
bool ReadInstalledAppsLocation(platform::Registry& registry, platform::RegRoot root,
                               std::string& folder);

// The folder chosen at the installation listed in installed apps (the folder above its
// product folder), so that installing again offers the same place: the entry this run would
// replace first (the machine's for an administrator, else the user's), then the other. False
// when no entry names a product folder.
bool EarlierChosenFolder(platform::Platform platform, std::string& chosenFolder);

}  // namespace install
