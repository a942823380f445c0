#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <string>

namespace platform {
namespace {

HKEY RootHandle(RegRoot root) {
  return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

HKEY HandleOf(KeyRef ref) {
  return ref.IsRoot() ? RootHandle(ref.Root()) : reinterpret_cast<HKEY>(ref.Handle());
}

bool IsPredefined(HKEY key) { return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER; }

bool IsEmpty(const char* subKey) { return subKey == nullptr || *subKey == '\0'; }

// A value name for the wide functions; null stays null (the default value). A name that
// does not convert is no name at all, never the default value.
struct WideName {
  explicit WideName(const char* name) : isNull(name == nullptr) {
    if (isNull || *name == '\0') return;
    const int units = MultiByteToWideChar(CP_ACP, 0, name, -1, nullptr, 0);
    if (units <= 0) {
      valid = false;
      return;
    }
    text.resize(static_cast<std::size_t>(units));
    MultiByteToWideChar(CP_ACP, 0, name, -1, text.data(), units);
    text.resize(static_cast<std::size_t>(units - 1));
  }
  const wchar_t* Get() const { return isNull ? nullptr : text.c_str(); }

  bool isNull;
  bool valid = true;
  std::wstring text;
};

}  // namespace

long Win32Registry::OpenKey(KeyRef parent, const char* subKey, RegKey& key) {
  if (IsEmpty(subKey)) return OpenSelf(parent, key);
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyA(HandleOf(parent), subKey, &opened);
  return Take(result, reinterpret_cast<std::uintptr_t>(opened), key);
}

long Win32Registry::OpenKeyEx(KeyRef parent, const char* subKey, std::uint32_t access,
                              RegKey& key) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExA(HandleOf(parent), subKey, 0, access, &opened);
  return Take(result, reinterpret_cast<std::uintptr_t>(opened), key);
}

long Win32Registry::CreateKey(KeyRef parent, const char* subKey, RegKey& key) {
  if (IsEmpty(subKey)) return OpenSelf(parent, key);
  HKEY opened = nullptr;
  const LONG result = RegCreateKeyA(HandleOf(parent), subKey, &opened);
  return Take(result, reinterpret_cast<std::uintptr_t>(opened), key);
}

// RegOpenKeyA (and, as documented, RegCreateKeyA) hand back the parent's own handle for an
// empty sub-key, which two keys would then both close. RegOpenKeyExA opens a second handle
// to a key that is not a root, and gives a root back as itself.
long Win32Registry::OpenSelf(KeyRef parent, RegKey& key) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExA(HandleOf(parent), "", 0, MAXIMUM_ALLOWED, &opened);
  return Take(result, reinterpret_cast<std::uintptr_t>(opened), key);
}

long Win32Registry::DeleteKey(KeyRef parent, const char* subKey) {
  return RegDeleteKeyA(HandleOf(parent), subKey);
}

long Win32Registry::QueryKeyInfo(KeyRef key, KeyInfo& info) {
  DWORD subKeys = 0;
  DWORD values = 0;
  DWORD longestValueName = 0;
  const LONG result =
      RegQueryInfoKeyA(HandleOf(key), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                       &values, &longestValueName, nullptr, nullptr, nullptr);
  if (result == ERROR_SUCCESS) {
    info.subKeyCount = subKeys;
    info.valueCount = values;
    info.maxValueNameLength = longestValueName;
  }
  return result;
}

long Win32Registry::EnumKey(KeyRef key, std::uint32_t index, char* name,
                            std::uint32_t& nameLength) {
  DWORD length = nameLength;
  const LONG result = RegEnumKeyExA(HandleOf(key), index, name, &length, nullptr, nullptr,
                                    nullptr, nullptr);
  nameLength = length;
  return result;
}

long Win32Registry::QueryValue(KeyRef key, const char* valueName, std::uint32_t* type,
                               unsigned char* data, std::uint32_t* dataSize) {
  // DWORD is not std::uint32_t to the compiler, so the answers pass through copies.
  DWORD typeCopy = type != nullptr ? *type : 0;
  DWORD sizeCopy = dataSize != nullptr ? *dataSize : 0;
  const LONG result =
      RegQueryValueExA(HandleOf(key), valueName, nullptr, type != nullptr ? &typeCopy : nullptr,
                       data, dataSize != nullptr ? &sizeCopy : nullptr);
  if (type != nullptr) *type = typeCopy;
  if (dataSize != nullptr) *dataSize = sizeCopy;
  return result;
}

long Win32Registry::SetValue(KeyRef key, const char* valueName, std::uint32_t type,
                             const unsigned char* data, std::uint32_t dataSize) {
  return RegSetValueExA(HandleOf(key), valueName, 0, type, data, dataSize);
}

long Win32Registry::DeleteValue(KeyRef key, const char* valueName) {
  return RegDeleteValueA(HandleOf(key), valueName);
}

long Win32Registry::QueryValueWide(KeyRef key, const char* valueName, std::uint32_t* type,
                                   unsigned char* data, std::uint32_t* dataSize) {
  const WideName name(valueName);
  if (!name.valid) return ERROR_INVALID_PARAMETER;
  DWORD typeCopy = type != nullptr ? *type : 0;
  DWORD sizeCopy = dataSize != nullptr ? *dataSize : 0;
  const LONG result =
      RegQueryValueExW(HandleOf(key), name.Get(), nullptr, type != nullptr ? &typeCopy : nullptr,
                       data, dataSize != nullptr ? &sizeCopy : nullptr);
  if (type != nullptr) *type = typeCopy;
  if (dataSize != nullptr) *dataSize = sizeCopy;
  return result;
}

long Win32Registry::SetValueWide(KeyRef key, const char* valueName, std::uint32_t type,
                                 const unsigned char* data, std::uint32_t dataSize) {
  const WideName name(valueName);
  if (!name.valid) return ERROR_INVALID_PARAMETER;
  return RegSetValueExW(HandleOf(key), name.Get(), 0, type, data, dataSize);
}

void Win32Registry::ReleaseHandle(std::uintptr_t handle) {
  const HKEY key = reinterpret_cast<HKEY>(handle);
  if (!IsPredefined(key)) RegCloseKey(key);
}

long Win32Registry::Take(long result, std::uintptr_t opened, RegKey& key) {
  if (result != ERROR_SUCCESS) {
    key.Close();
    return result;
  }
  key = MakeKey(opened);
  return result;
}

}  // namespace platform
