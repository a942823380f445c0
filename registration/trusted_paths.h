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

// The Variables key (below HKEY_CURRENT_USER) of every AutoCAD profile of the current user,
// of every product of every release key: the keys UpdateTrustedPaths serves.
discovery::TextList ProfileVariablesKeys(platform::Registry& registry);

// `value` without the entries that name `folder`: an entry between semicolons equal to the
// folder, to the folder with a trailing backslash, or to the folder followed by "\..." (its
// sub-folders), compared as FormTrustedPathsValue upper-cases. Every other entry, empty ones
// too, stays in its order and keeps its letters.
std::u16string RemoveTrustedFolder(std::u16string_view value, std::u16string_view folder);

}  // namespace registration
