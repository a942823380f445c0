#include "app/edition_notice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "install/setup_messages.h"
#include "platform/memory/memory_platform.h"

namespace {

// The boxes an edition shows on a machine holding `key` (below HKEY_LOCAL_MACHINE, as written).
std::vector<platform::ShownMessageBox> Shown(int bits, bool wow64, const std::string& key) {
  platform::MemoryPlatform machine;
  EXPECT_TRUE(machine.registry.CreateKeyPath(platform::RegRoot::LocalMachine, key));
  if (wow64) machine.RunAs32BitProgramOn64BitWindows();
  app::TellOfSixtyFourBitAcad(machine.Get(), machine.messages, bits);
  return machine.messages.Shown();
}

// 64-bit AutoCAD, which the 32-bit edition's own scan cannot see under WOW64, is told of once,
// in a box owned by no window; every other edition and machine hears nothing.
TEST(EditionNotice, OnlyTheThirtyTwoBitEditionUnderWow64TellsOfSixtyFourBitAcad) {
  const std::string acad = "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:804";
  const std::vector<platform::ShownMessageBox> told = Shown(32, true, acad);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(told[0].caption == install::kSetupCaption && told[0].owner == 0);
  EXPECT_TRUE(
      Shown(32, true, "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804").empty());
  EXPECT_TRUE(Shown(32, true, "SOFTWARE\\Autodesk").empty()) << "no AutoCAD";
  EXPECT_TRUE(Shown(32, true, "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\Other").empty()) << "no product";
  EXPECT_TRUE(Shown(32, false, acad).empty()) << "32-bit Windows";
  EXPECT_TRUE(Shown(64, false, acad).empty()) << "the 64-bit edition";
}

}  // namespace
