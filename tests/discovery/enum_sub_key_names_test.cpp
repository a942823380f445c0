#include "discovery/enum_sub_key_names.h"

#include <gtest/gtest.h>

#include "platform/memory/memory_registry.h"
#include "tests/discovery/registry_builder.h"

namespace discovery {
namespace {

using platform::RegRoot;

TEST(EnumSubKeyNames, AppendsTheNamesOfTheSubKeysThatOpenForReading) {
  platform::MemoryRegistry registry;
  const std::string profiles = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles";
  for (const char* name : {"<<未命名配置>>", "Locked", "Drafting"}) {
    testing::PutKey(registry, RegRoot::CurrentUser, profiles + "\\" + name);
  }
  registry.DenyRead(RegRoot::CurrentUser, profiles + "\\Locked");

  platform::RegKey key;
  ASSERT_EQ(registry.OpenKeyEx(RegRoot::CurrentUser, profiles.c_str(), platform::reg::kKeyRead, key),
            platform::reg::kSuccess);
  TextList names{"kept"};
  EnumSubKeyNames(registry, key, names);
  EXPECT_EQ(names, (TextList{"kept", "<<未命名配置>>", "Drafting"}));

  EXPECT_TRUE(key.IsOpen());
  EXPECT_EQ(registry.OpenHandleCount(), 1u) << "only the caller's key is still open";
}

}  // namespace
}  // namespace discovery
