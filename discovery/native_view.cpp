#include "discovery/native_view.h"

#include <string_view>

#include "discovery/enum_sub_key_names.h"
#include "platform/ansi_text.h"

namespace discovery {
namespace {

constexpr std::uint32_t kSixtyFourBitRead = platform::reg::kKeyRead | platform::reg::kWow64_64Key;

bool StartsWithNoCase(std::string_view name, std::string_view head) {
  return name.size() > head.size() && ansi::EqualsNoCase(name.substr(0, head.size()), head);
}

// Whether a sub-key of `key` whose name starts with `head` (and holds more) passes `holds`.
template <class Holds>
bool AnySubKey(platform::Registry& registry, platform::KeyRef key, std::string_view head,
               Holds&& holds) {
  const std::uint32_t count = SubKeyCount(registry, key);
  for (std::uint32_t index = 0; index < count; ++index) {
    char name[kKeyNameBufferSize];
    if (!ReadSubKeyName(registry, key, index, name) || !StartsWithNoCase(name, head)) continue;
    platform::RegKey subKey;
    if (registry.OpenKeyEx(key, name, kSixtyFourBitRead, subKey) == platform::reg::kSuccess &&
        holds(subKey)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool SixtyFourBitViewHoldsAcad(platform::Registry& registry) {
  platform::RegKey branch;
  if (registry.OpenKeyEx(platform::RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD",
                         kSixtyFourBitRead, branch) != platform::reg::kSuccess) {
    return false;
  }
  return AnySubKey(registry, branch, "R", [&](const platform::RegKey& release) {
    return AnySubKey(registry, release, "ACAD-", [](const platform::RegKey&) { return true; });
  });
}

}  // namespace discovery
