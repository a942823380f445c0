// The setup dialog built from its template alone, without the two pictures and the icon: a
// damaged or cut-down resource section must not keep the setup from opening.
#include <windows.h>

#include <gtest/gtest.h>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "tests/ui/found_release.h"
#include "tests/ui/probed_setup_dialog.h"
#include "ui/resource_ids.h"

namespace ui {
extern const int setupBits = 64;
}  // namespace ui

namespace {

TEST(MissingResources, TheDialogOpensWithoutItsPicturesAndIcon) {
  // The resources really are absent from this program.
  ASSERT_EQ(::FindResourceA(nullptr, MAKEINTRESOURCEA(IDB_LOGO), MAKEINTRESOURCEA(2)), nullptr);
  ASSERT_EQ(::FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_SETUP), MAKEINTRESOURCEA(14)), nullptr);
  ASSERT_NE(::FindResourceA(nullptr, MAKEINTRESOURCEA(IDD_SETUP), MAKEINTRESOURCEA(5)), nullptr);

  platform::MemoryPlatform memory;
  discovery::InstallationInventory inventory{memory.Get()};
  ui::testing::FileFoundRelease(inventory, 2010);
  ui::testing::ProbedSetupDialog dialog(inventory, memory.Get(), memory.messages);
  bool probed = false;
  dialog.probe = [&](ui::testing::ProbedSetupDialog& shown) {
    probed = true;
    EXPECT_TRUE(::IsWindowVisible(shown.Window()));
    EXPECT_EQ(::SendMessageA(shown.Item(IDC_MENU_PICTURE), STM_GETIMAGE, IMAGE_BITMAP, 0), 0);
    EXPECT_EQ(::SendMessageA(shown.Window(), WM_GETICON, ICON_SMALL, 0), 0);
    // Everything else works as usual: the found release is offered and ticked, Install enabled.
    EXPECT_TRUE(::IsWindowEnabled(shown.Item(IDC_BOX_2010)));
    EXPECT_TRUE(::IsWindowEnabled(shown.Item(IDC_INSTALL)));
  };
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_TRUE(probed);
}

}  // namespace
