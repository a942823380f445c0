#pragma once

#include "discovery/installation_inventory.h"
#include "platform/registry.h"

namespace discovery {

// The size of every key-name buffer the setup enumerates into; a longer name is passed over.
inline constexpr std::uint32_t kKeyNameBufferSize = 256;

// Appends to `names`, in enumeration order, the name of every sub-key of `key` that can itself
// be opened for reading. The list is only appended to; `key` stays open.
void EnumSubKeyNames(platform::Registry& registry, platform::KeyRef key, TextList& names);

// The number of sub-keys of `key`; 0 when it cannot be asked.
std::uint32_t SubKeyCount(platform::Registry& registry, platform::KeyRef key);

// Reads the name of sub-key `index` into `name` (reset to the empty text first, with the full
// buffer size offered). False when no name can be read, e.g. one longer than the buffer.
bool ReadSubKeyName(platform::Registry& registry, platform::KeyRef key, std::uint32_t index,
                    char (&name)[kKeyNameBufferSize]);

}  // namespace discovery
