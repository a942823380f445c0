#pragma once

#include <cstdint>

#include "platform/owned_handle.h"

namespace platform {

// Result codes, access masks and value types with the numbers the Windows registry uses,
// so the logic reads like the Win32 calls it stands for without including <windows.h>.
namespace reg {
inline constexpr long kSuccess = 0;
inline constexpr long kFileNotFound = 2;
inline constexpr long kAccessDenied = 5;
inline constexpr long kInvalidParameter = 87;
inline constexpr long kMoreData = 234;
inline constexpr long kNoMoreItems = 259;

inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;
// KEY_WOW64_64KEY and KEY_WOW64_32KEY: with OpenKeyEx, the 64-bit registry view (also from a
// 32-bit program) and the 32-bit one (also from a 64-bit program).
inline constexpr std::uint32_t kWow64_64Key = 0x0100;
inline constexpr std::uint32_t kWow64_32Key = 0x0200;

inline constexpr std::uint32_t kTypeNone = 0;
inline constexpr std::uint32_t kTypeSz = 1;
inline constexpr std::uint32_t kTypeExpandSz = 2;
inline constexpr std::uint32_t kTypeBinary = 3;
inline constexpr std::uint32_t kTypeDword = 4;
inline constexpr std::uint32_t kTypeMultiSz = 7;

// The types whose data the registry keeps as UTF-16 text and the narrow functions convert.
inline constexpr bool IsStringType(std::uint32_t type) {
  return type == kTypeSz || type == kTypeExpandSz || type == kTypeMultiSz;
}

// The longest key name the registry accepts, in characters.
inline constexpr int kMaxKeyNameChars = 255;
}  // namespace reg

enum class RegRoot { LocalMachine, CurrentUser };

class Registry;

// An open registry key; closing it is RegCloseKey.
using RegKey = OwnedHandle<Registry>;

// Where an operation works: one of the two predefined roots, or a key that is open.
class KeyRef {
 public:
  KeyRef(RegRoot root) : isRoot_(true), root_(root) {}  // NOLINT(google-explicit-constructor)
  KeyRef(const RegKey& key) : handle_(key.Value()) {}  // NOLINT(google-explicit-constructor)

  bool IsRoot() const { return isRoot_; }
  RegRoot Root() const { return root_; }
  std::uintptr_t Handle() const { return handle_; }

 private:
  bool isRoot_ = false;
  RegRoot root_ = RegRoot::LocalMachine;
  std::uintptr_t handle_ = 0;
};

// What RegQueryInfoKeyA tells of a key, in one call.
struct KeyInfo {
  std::uint32_t subKeyCount = 0;  // lpcSubKeys
  std::uint32_t valueCount = 0;   // lpcValues, the default value among them once it is set
  // lpcMaxValueNameLen: the longest value name in UTF-16 units without its NUL, also from the
  // narrow function (a Chinese character is one unit, not its two code-page bytes). A bound
  // rather than an exact length: Windows need not shrink it when a long-named value goes, but
  // no value present has a longer name.
  std::uint32_t maxValueNameLength = 0;
};

// The registry functions of advapi32 that the setup calls, narrow-character ones except for
// the two wide value functions. Each method has
// the behaviour of the Win32 function it is named after (noted beside it); results are the
// Win32 result codes (reg::kSuccess and so on). A key given as the out parameter is closed
// first; it is open after the call only on success.
//
// Registry views: a 64-bit program opens every path as written ("SOFTWARE\Wow6432Node\..."
// too). A 32-bit program on 64-bit Windows (WOW64) sees HKEY_LOCAL_MACHINE\SOFTWARE's
// sub-keys below SOFTWARE\Wow6432Node, unless an OpenKeyEx asks for reg::kWow64_64Key (and a
// 64-bit program sees them so with reg::kWow64_32Key). The view is chosen by each open, never
// remembered by the handle, so the flag goes with every open on the way.
class Registry {
 public:
  virtual ~Registry() = default;

  // RegOpenKeyA: a null or empty sub-key opens (a new handle to) the parent itself. Opens with
  // whatever access the key grants; fails only when it grants neither reading nor writing.
  virtual long OpenKey(KeyRef parent, const char* subKey, RegKey& key) = 0;

  // RegOpenKeyExA(parent, subKey, 0, access, &key).
  virtual long OpenKeyEx(KeyRef parent, const char* subKey, std::uint32_t access, RegKey& key) = 0;

  // RegCreateKeyA: opens subKey, creating it and every missing key on the way.
  virtual long CreateKey(KeyRef parent, const char* subKey, RegKey& key) = 0;

  // RegDeleteKeyA: deletes the last key named by subKey; fails when that key has sub-keys.
  virtual long DeleteKey(KeyRef parent, const char* subKey) = 0;

  // RegQueryInfoKeyA asking for the numbers of sub-keys and values and the length of the
  // longest value name. Asks KEY_QUERY_VALUE of the handle.
  virtual long QueryKeyInfo(KeyRef key, KeyInfo& info) = 0;

  // The same query, for the number of sub-keys only; `subKeyCount` changes only on success.
  long QuerySubKeyCount(KeyRef key, std::uint32_t& subKeyCount) {
    KeyInfo info;
    const long result = QueryKeyInfo(key, info);
    if (result == reg::kSuccess) subKeyCount = info.subKeyCount;
    return result;
  }

  // RegEnumKeyExA(key, index, name, &nameLength, 0, 0, 0, 0): nameLength goes in as the size
  // of the name buffer in bytes and comes out as the name's length without its NUL.
  // kMoreData when the name and its NUL do not fit; kNoMoreItems past the last sub-key.
  virtual long EnumKey(KeyRef key, std::uint32_t index, char* name, std::uint32_t& nameLength) = 0;

  // RegQueryValueExA(key, valueName, 0, type, data, dataSize); type and data may be null.
  // With data null, *dataSize receives the size the data needs. kMoreData when the data does
  // not fit *dataSize bytes (*dataSize then holds the size needed). A null or empty name is
  // the key's default value.
  virtual long QueryValue(KeyRef key, const char* valueName, std::uint32_t* type,
                          unsigned char* data, std::uint32_t* dataSize) = 0;

  // RegSetValueExA(key, valueName, 0, type, data, dataSize): replaces any value of that name.
  virtual long SetValue(KeyRef key, const char* valueName, std::uint32_t type,
                        const unsigned char* data, std::uint32_t dataSize) = 0;

  // RegDeleteValueA: removes the value of that name (null or empty: the default value); the
  // handle needs KEY_SET_VALUE. kFileNotFound when no such value exists.
  virtual long DeleteValue(KeyRef key, const char* valueName) = 0;

  // Windows keeps string values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) as UTF-16; the two
  // functions above convert them from and to the ANSI code page, and every character that
  // code page lacks comes back as '?'. These two pass the data as stored: UTF-16LE bytes for
  // a string value, sizes in bytes. The value name is ASCII (it is converted from the ANSI
  // code page all the same).
  // RegQueryValueExW: as QueryValue, the NUL it may add being two bytes.
  virtual long QueryValueWide(KeyRef key, const char* valueName, std::uint32_t* type,
                              unsigned char* data, std::uint32_t* dataSize) = 0;
  // RegSetValueExW.
  virtual long SetValueWide(KeyRef key, const char* valueName, std::uint32_t type,
                            const unsigned char* data, std::uint32_t dataSize) = 0;

 protected:
  RegKey MakeKey(std::uintptr_t handle) { return RegKey(this, handle); }

 private:
  friend class OwnedHandle<Registry>;
  // RegCloseKey.
  virtual void ReleaseHandle(std::uintptr_t handle) = 0;
};

}  // namespace platform
