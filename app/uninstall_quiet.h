#pragma once

#include <string>

#include "platform/platform.h"
#include "uninstall/removal_report.h"

namespace app {

// UnInstall.exe /quiet, as the entry's QuietUninstallString runs it for scripts and management
// tools: nobody is asked and no box is shown; the exit code says how it ended.
inline constexpr int kQuietRemoved = 0;        // the plug-in is out, the entry gone
inline constexpr int kQuietSomethingStayed = 1;  // the removals ran; the report names what stayed
// Nothing was changed: not a product folder, no entry naming it, no rights for an installation
// for every user, or AutoCAD running. A removal while AutoCAD holds the modules would leave
// the machine half removed; refused whole, a tool can simply run it again later.
inline constexpr int kQuietRefused = 2;

// The uninstallation of `productFolder` without questions; returns one of the codes above.
int UninstallQuietly(platform::Platform platform, const std::string& productFolder,
                     uninstall::RemovalReport& report);

}  // namespace app
