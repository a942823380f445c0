#pragma once

#include <cstdint>
#include <optional>

// The access checks of the in-memory registry, modelled on those of Windows: a key's
// permissions say whether it may be read and written; a handle is granted the access asked
// for when opening, and every operation through the handle needs its own access right.
namespace platform::registry_access {

inline constexpr std::uint32_t kQueryValue = 0x0001;
inline constexpr std::uint32_t kSetValue = 0x0002;
inline constexpr std::uint32_t kCreateSubKey = 0x0004;
inline constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kNotify = 0x0010;
inline constexpr std::uint32_t kCreateLink = 0x0020;
inline constexpr std::uint32_t kDelete = 0x00010000;
inline constexpr std::uint32_t kReadControl = 0x00020000;
inline constexpr std::uint32_t kWriteDac = 0x00040000;
inline constexpr std::uint32_t kWriteOwner = 0x00080000;
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;
inline constexpr std::uint32_t kGenericAll = 0x10000000;
inline constexpr std::uint32_t kGenericExecute = 0x20000000;
inline constexpr std::uint32_t kGenericWrite = 0x40000000;
inline constexpr std::uint32_t kGenericRead = 0x80000000;

// What a key lets every caller do: the in-memory form of its access control list.
struct KeyPermissions {
  bool read = true;
  bool write = true;
};

// The access a handle receives when `requested` is asked of a key with `permissions`, or
// nothing when the key refuses it (ERROR_ACCESS_DENIED). Generic rights stand for the key
// rights they map to; MAXIMUM_ALLOWED receives whatever the key allows and is refused only
// when it allows nothing. Registry-view flags (KEY_WOW64_*) change nothing here.
std::optional<std::uint32_t> GrantAccess(std::uint32_t requested, KeyPermissions permissions);

}  // namespace platform::registry_access
