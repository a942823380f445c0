#pragma once

#include <string>

#include "platform/platform.h"

namespace install {

// Windows' list of installed apps: one key per program below this path, under
// HKEY_LOCAL_MACHINE for every user or under HKEY_CURRENT_USER for the current user alone.
inline constexpr const char* kInstalledAppsEntryPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelvar批打印软件";
inline constexpr const char* kInstalledAppsDisplayName = "Zelvar批打印软件";
// The program that takes the plug-in out again; the package puts it into the product folder.
inline constexpr const char* kUninstallerName = "UnInstall.exe";

// Lists the product in installed apps once the package lies in `productFolder` (no trailing
// backslash), and only when the uninstaller is there: an entry nothing can act on is worse
// than none. Under HKEY_LOCAL_MACHINE, or under HKEY_CURRENT_USER where the machine-wide key
// is refused; an entry of an earlier installation is replaced. False when neither could be
// written whole (what was begun is taken away again) or the uninstaller is missing.
bool WriteInstalledAppsEntry(platform::Platform platform, const std::string& productFolder);

// InstallLocation of the entry below `root`, without a trailing backslash. False when there is
// no entry, no such text value, or it does not fit a path.
bool ReadInstalledAppsLocation(platform::Registry& registry, platform::RegRoot root,
                               std::string& folder);

}  // namespace install
