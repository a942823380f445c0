#include "platform/memory/memory_registry_access.h"

#include "platform/registry.h"

namespace platform::registry_access {
namespace {

constexpr std::uint32_t kReadRights = kQueryValue | kEnumerateSubKeys | kNotify;
constexpr std::uint32_t kWriteRights =
    kSetValue | kCreateSubKey | kCreateLink | kDelete | kWriteDac | kWriteOwner;

std::uint32_t MapGenericRights(std::uint32_t requested) {
  std::uint32_t rights = requested & (kReadRights | kWriteRights | kReadControl);
  if ((requested & (kGenericRead | kGenericExecute)) != 0) rights |= reg::kKeyRead;
  if ((requested & kGenericWrite) != 0) rights |= reg::kKeyWrite;
  if ((requested & kGenericAll) != 0) rights |= reg::kKeyAllAccess;
  return rights;
}

// Reading the key's security descriptor comes with either kind of access.
std::uint32_t AllowedRights(KeyPermissions permissions) {
  std::uint32_t allowed = 0;
  if (permissions.read) allowed |= kReadRights;
  if (permissions.write) allowed |= kWriteRights;
  if (allowed != 0) allowed |= kReadControl;
  return allowed;
}

}  // namespace

std::optional<std::uint32_t> GrantAccess(std::uint32_t requested, KeyPermissions permissions) {
  const std::uint32_t allowed = AllowedRights(permissions);
  const std::uint32_t rights = MapGenericRights(requested);
  if ((rights & ~allowed) != 0) return std::nullopt;
  if ((requested & kMaximumAllowed) != 0) {
    if (allowed == 0) return std::nullopt;
    return allowed;
  }
  return rights;
}

}  // namespace platform::registry_access
