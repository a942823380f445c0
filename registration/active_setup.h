#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace registration {

// The version Active Setup compares with the one it recorded for each user, as it wants it:
// four numbers separated by commas ("2024,4,26,0" for 2024.4.26). A user whose record is
// older, or who has none, gets the per-user verb at the next logon.
std::string ActiveSetupVersion();

// The command Active Setup runs at a user's logon: the tool in `productFolder` (no trailing
// backslash), with its per-user verb for that folder.
std::string ActiveSetupStubPath(std::string_view productFolder);

// Whether `stubPath` runs the tool of `productFolder`: its first, quoted, word names the tool
// there, compared as Windows compares paths. The Windows Installer package and the setup
// write the rest of the command differently.
bool StubPathNamesFolder(std::string_view stubPath, std::string_view productFolder);

// Writes the component below HKEY_LOCAL_MACHINE (the product's name, StubPath, Version and
// IsInstalled 1), replacing one of an earlier installation. Returns the registry's result:
// reg::kSuccess, or the error of the first write refused.
long WriteActiveSetupComponent(platform::Registry& registry, std::string_view productFolder);

}  // namespace registration
