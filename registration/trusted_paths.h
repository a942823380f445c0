#pragma once

#include <string>
#include <string_view>

#include "discovery/installation_inventory.h"

namespace registration {

// Adds the inventory's installFolder to TRUSTEDPATHS of every AutoCAD profile of the current
// user, of every product of every release key, ticked or not. Silent; AutoCAD only reads it.
void UpdateTrustedPaths(const discovery::InstallationInventory& inventory,
                        platform::Registry& registry);

// The TRUSTEDPATHS value that replaces `currentValue` so that it holds `installFolder`, both
// as UTF-16 (the registry's form of the value, which may hold any script).
std::u16string FormTrustedPathsValue(std::u16string_view currentValue,
                                     std::u16string_view installFolder);

}  // namespace registration
