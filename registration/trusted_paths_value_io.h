#pragma once

#include <string>
#include <string_view>

#include "platform/registry.h"

namespace registration {

enum class TrustedPathsRead {
  Read,        // the value's text, whatever its length
  Absent,      // no Variables key or no value: the profile trusts nothing yet
  Unreadable,  // the value exists but could not be read: it must not be overwritten
};

// TRUSTEDPATHS of the Variables key at `variablesKey` below HKEY_CURRENT_USER, read whole
// (it can be far longer than AutoCAD's own 13000-byte buffer) and taken up to its first NUL.
// It is read through the wide function, so the folders of other programs come back whatever
// their script; the narrow one would hand back '?' for every character the ANSI code page
// lacks, and writing that back would destroy those entries. A value of a type that holds no
// text (REG_DWORD, REG_BINARY, ...) is taken as text of the ANSI code page.
TrustedPathsRead ReadTrustedPaths(platform::Registry& registry, const std::string& variablesKey,
                                  std::u16string& value);

// Writes `value` as TRUSTEDPATHS, REG_SZ, with its NUL, through the wide function; false when
// the write failed.
bool WriteTrustedPaths(platform::Registry& registry, platform::KeyRef key,
                       std::u16string_view value);

// Deletes TRUSTEDPATHS; false when the deletion failed. A value already gone is no failure.
bool DeleteTrustedPaths(platform::Registry& registry, platform::KeyRef key);

}  // namespace registration
