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

enum class ProfileTrust { AlreadyTrusted, Written, Refused };

// What becomes of a value that trusts the folder already. The dialog's installation rewrites
// it upper-cased, as FormTrustedPathsValue forms it; the per-user part that runs at every
// logon of a new version keeps it, so that its second run changes nothing.
enum class TrustedValue { Rewritten, Kept };

// Adds `installFolder` to TRUSTEDPATHS of the Variables key `variablesKey` (below
// HKEY_CURRENT_USER, made where it is missing), as UpdateTrustedPaths does for each profile.
// A value that exists but cannot be read is never overwritten (Refused).
ProfileTrust TrustFolderInProfile(platform::Registry& registry, const std::string& variablesKey,
                                  std::u16string_view installFolder, TrustedValue trusted);

// `value` without the entries that name `folder`: an entry between semicolons equal to the
// folder, to the folder with a trailing backslash, or to the folder followed by "\..." (its
// sub-folders), compared as FormTrustedPathsValue upper-cases. Every other entry, empty ones
// too, stays in its order and keeps its letters.
std::u16string RemoveTrustedFolder(std::u16string_view value, std::u16string_view folder);

}  // namespace registration
