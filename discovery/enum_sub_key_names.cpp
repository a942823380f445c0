#include "discovery/enum_sub_key_names.h"

namespace discovery {

std::uint32_t SubKeyCount(platform::Registry& registry, platform::KeyRef key) {
  std::uint32_t count = 0;
  if (registry.QuerySubKeyCount(key, count) != platform::reg::kSuccess) {
    return 0;
  }
  return count;
}

bool ReadSubKeyName(platform::Registry& registry, platform::KeyRef key, std::uint32_t index,
                    char (&name)[kKeyNameBufferSize]) {
  name[0] = '\0';
  std::uint32_t nameLength = kKeyNameBufferSize;
  const long result = registry.EnumKey(key, index, name, nameLength);
  if (result != platform::reg::kSuccess || nameLength >= kKeyNameBufferSize) {
    name[0] = '\0';
    return false;
  }
  name[nameLength] = '\0';
  return true;
}

void EnumSubKeyNames(platform::Registry& registry, platform::KeyRef key, TextList& names) {
  const std::uint32_t count = SubKeyCount(registry, key);
  for (std::uint32_t index = 0; index < count; ++index) {
    char name[kKeyNameBufferSize];
    if (!ReadSubKeyName(registry, key, index, name)) {
      continue;
    }
    platform::RegKey subKey;
    if (registry.OpenKeyEx(key, name, platform::reg::kKeyRead, subKey) == platform::reg::kSuccess) {
      names.emplace_back(name);
    }
  }
}

}  // namespace discovery
