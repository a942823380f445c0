#pragma once

#include <string>

#include "platform/registry.h"

namespace registration {

enum class TrustedPathsRead {
  Read,        // the value's text, whatever its length
  Absent,      // no Variables key or no value: the profile trusts nothing yet
  Unreadable,  // the value exists but could not be read: it must not be overwritten
};

// TRUSTEDPATHS of the Variables key at `variablesKey` below HKEY_CURRENT_USER, read whole
// (it can be far longer than AutoCAD's own 13000-byte buffer) and taken up to its first NUL.
// Any value type is read as text.
TrustedPathsRead ReadTrustedPaths(platform::Registry& registry, const std::string& variablesKey,
                                  std::string& value);

// Writes `value` as TRUSTEDPATHS, REG_SZ, with its NUL; false when the write failed.
bool WriteTrustedPaths(platform::Registry& registry, platform::KeyRef key,
                       const std::string& value);

}  // namespace registration
