// The trusted-paths update on machines whose ANSI code page is not 936: profile names whose
// last character ends in the byte 0x5C.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "registration/trusted_paths.h"

namespace registration {
namespace {

using platform::RegRoot;

TEST(TrustedPathsCodePage, AProfileNameEndingInATrailByte0x5CGetsTheFolderAndNoOtherKeyAppears) {
  struct Case {
    unsigned codePage;
    std::string profile;
  };
  const Case cases[] = {
      {950, "Plot\xA5\x5C"},  // 功
      {950, "\xA5\x5C"},
      {932, "Plot\x83\x5C"},  // ソ
      {932, "\x95\x5C"},      // 表
      {936, "Plot\x81\x5C"},  // 乗
  };
  const std::string profiles = "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\ACAD-8101:409\\Profiles";
  for (const auto& [codePage, profile] : cases) {
    SCOPED_TRACE(codePage);
    ansi::SetActiveCodePage(codePage);
    platform::MemoryPlatform machine;
    discovery::InstallationInventory inventory{machine.Get()};
    inventory.installFolder = "C:\\Zelvar\\Plot";
    const std::string variables = profiles + "\\" + profile + "\\Variables";
    const std::string bare = profiles + "\\Bare" + profile;  // no Variables key yet
    ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, variables, "TRUSTEDPATHS",
                                           "d:\\tools"));
    ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser, bare));

    UpdateTrustedPaths(inventory, machine.registry);

    EXPECT_EQ(machine.registry.ReadString(RegRoot::CurrentUser, variables, "TRUSTEDPATHS"),
              "D:\\TOOLS;C:\\ZELVAR\\PLOT");
    EXPECT_EQ(machine.registry.ReadString(RegRoot::CurrentUser, bare + "\\Variables",
                                          "TRUSTEDPATHS"),
              "C:\\Zelvar\\Plot");
    EXPECT_EQ(machine.registry.SubKeyNames(RegRoot::CurrentUser, profiles),
              (std::vector<std::string>{"Bare" + profile, profile}))
        << "no key named after a cut profile name";
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
  }
  ansi::SetActiveCodePage(ansi::kCodePage936);
}

}  // namespace
}  // namespace registration
