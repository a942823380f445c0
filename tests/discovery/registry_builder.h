#pragma once

// Builds registry content through the Registry interface itself, so the scan tests describe
// a machine the way an installer would have written it.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "platform/registry.h"

namespace discovery::testing {

inline void PutKey(platform::Registry& registry, platform::RegRoot root, const std::string& path) {
  platform::RegKey key;
  ASSERT_EQ(registry.CreateKey(root, path.c_str(), key), platform::reg::kSuccess) << path;
}

inline void PutValue(platform::Registry& registry, platform::RegRoot root, const std::string& path,
                     const char* name, std::uint32_t type, const std::string& data) {
  platform::RegKey key;
  ASSERT_EQ(registry.CreateKey(root, path.c_str(), key), platform::reg::kSuccess) << path;
  ASSERT_EQ(registry.SetValue(key, name, type, reinterpret_cast<const unsigned char*>(data.data()),
                              static_cast<std::uint32_t>(data.size())),
            platform::reg::kSuccess)
      << path << " " << name;
}

// A REG_SZ value stored with its NUL, as installers write them.
inline void PutString(platform::Registry& registry, platform::RegRoot root, const std::string& path,
                      const char* name, const std::string& text) {
  PutValue(registry, root, path, name, platform::reg::kTypeSz, text + '\0');
}

// A product key of the native branch below HKEY_LOCAL_MACHINE.
inline void PutProduct(platform::Registry& registry, const std::string& pathBelowAutoCAD,
                       const std::string& productName, const std::string& location,
                       const std::string& branch = "SOFTWARE\\Autodesk\\AutoCAD\\") {
  const std::string path = branch + pathBelowAutoCAD;
  PutString(registry, platform::RegRoot::LocalMachine, path, "ProductName", productName);
  PutString(registry, platform::RegRoot::LocalMachine, path, "AcadLocation", location);
}

inline const std::string kWow6432Node = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\";

}  // namespace discovery::testing
