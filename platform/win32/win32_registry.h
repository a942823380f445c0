#pragma once

#include <cstdint>

#include "platform/registry.h"

namespace platform {

// The registry of the machine, through the functions of advapi32. Every path is opened as
// written, in the registry view of the program's own bitness unless OpenKeyEx is given a view
// flag. A handle's value is its HKEY; handles to the predefined roots are never closed.
class Win32Registry final : public Registry {
 public:
  Win32Registry() = default;
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;

  long OpenKey(KeyRef parent, const char* subKey, RegKey& key) override;
  long OpenKeyEx(KeyRef parent, const char* subKey, std::uint32_t access, RegKey& key) override;
  long CreateKey(KeyRef parent, const char* subKey, RegKey& key) override;
  long DeleteKey(KeyRef parent, const char* subKey) override;
  long QueryKeyInfo(KeyRef key, KeyInfo& info) override;
  long EnumKey(KeyRef key, std::uint32_t index, char* name, std::uint32_t& nameLength) override;
  long QueryValue(KeyRef key, const char* valueName, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* dataSize) override;
  long SetValue(KeyRef key, const char* valueName, std::uint32_t type, const unsigned char* data,
                std::uint32_t dataSize) override;
  long DeleteValue(KeyRef key, const char* valueName) override;
  long QueryValueWide(KeyRef key, const char* valueName, std::uint32_t* type,
                      unsigned char* data, std::uint32_t* dataSize) override;
  long SetValueWide(KeyRef key, const char* valueName, std::uint32_t type,
                    const unsigned char* data, std::uint32_t dataSize) override;

 private:
  void ReleaseHandle(std::uintptr_t handle) override;
  // Hands `opened` to `key` when `result` is success; closes `key` otherwise.
  long Take(long result, std::uintptr_t opened, RegKey& key);
  // A new handle to the parent itself.
  long OpenSelf(KeyRef parent, RegKey& key);
};

}  // namespace platform
