#pragma once

#include <string>
#include <string_view>

#include "platform/file_system.h"
#include "platform/registry.h"

namespace registration {

// The current user's product key that belongs to a machine-wide one: the path below
// HKEY_LOCAL_MACHINE without its leading "SOFTWARE\Wow6432Node\" or "SOFTWARE\" (any case),
// under "Software\" of HKEY_CURRENT_USER, which 32- and 64-bit programs share. False when the
// path starts with neither.
bool UserProductKeyPath(std::string_view machineProductKeyPath, std::string& userPath);

// The first folder of AutoCAD's default support file search path for the current user:
// the user's product key's RoamableRootFolder followed by "\Support". False when the user key,
// the value or the folder is missing, or a font's path in that folder would not fit 259
// characters. The folder is never created: AutoCAD makes it at its first start for the user.
bool UserSupportFolder(platform::Registry& registry, platform::FileSystem& files,
                       std::string_view machineProductKeyPath, std::string& folder);

}  // namespace registration
