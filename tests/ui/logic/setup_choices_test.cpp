#include "ui/logic/setup_choices.h"

#include <gtest/gtest.h>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "tests/ui/found_release.h"

namespace {

using discovery::kReleaseCount;

class SetupChoicesTest : public ::testing::Test {
 protected:
  void Found(int year) { ui::testing::FileFoundRelease(inventory, year); }

  platform::MemoryPlatform memory;
  discovery::InstallationInventory inventory{memory.Get()};
  ui::ReleaseFlags flags = ui::InitialSelection().releaseFlags;
};

TEST(SetupSelectionTest, StartsWithEveryReleaseTickedAndTheDefaultFolder) {
  const ui::InstallSelection selection = ui::InitialSelection();
  for (std::int32_t flag : selection.releaseFlags) {
    EXPECT_EQ(flag, 1);
  }
  EXPECT_EQ(selection.targetFolder, "C:\\Zelvar");
}

TEST_F(SetupChoicesTest, NothingFoundDisablesAndUnticksEveryBox) {
  const ui::ReleaseBoxStates states = ui::OfferReleases(inventory, 64, flags);
  for (std::size_t i = 0; i < kReleaseCount; ++i) {
    EXPECT_FALSE(states[i].enabled) << i;
    EXPECT_TRUE(states[i].visible) << i;
    EXPECT_EQ(flags[i], 0) << i;
  }
  EXPECT_FALSE(ui::AnyReleaseTicked(flags));
}

TEST_F(SetupChoicesTest, The64BitEditionOffersEveryReleaseFound) {
  Found(2008);
  Found(2010);
  Found(2021);
  Found(2025);
  const ui::ReleaseBoxStates states = ui::OfferReleases(inventory, 64, flags);
  for (std::size_t i = 0; i < kReleaseCount; ++i) {
    const int year = 2007 + static_cast<int>(i);
    const bool found = year == 2008 || year == 2010 || year == 2021 || year == 2025;
    EXPECT_EQ(states[i].enabled, found) << year;
    EXPECT_TRUE(states[i].visible) << year;
    EXPECT_EQ(flags[i], found ? 1 : 0) << year;
  }
  EXPECT_TRUE(ui::AnyReleaseTicked(flags));
}

TEST_F(SetupChoicesTest, The32BitEditionWithdraws2017OnwardsEvenWhenFound) {
  Found(2016);
  Found(2017);
  Found(2025);
  const ui::ReleaseBoxStates states = ui::OfferReleases(inventory, 32, flags);
  for (std::size_t i = 0; i < kReleaseCount; ++i) {
    const int year = 2007 + static_cast<int>(i);
    EXPECT_EQ(states[i].visible, year <= 2016) << year;
    EXPECT_EQ(flags[i], year == 2016 ? 1 : 0) << year;
  }
  // Found but withdrawn: the box is hidden, not disabled.
  EXPECT_TRUE(states[10].enabled);
  EXPECT_FALSE(states[10].visible);
}

TEST_F(SetupChoicesTest, OnlyWithdrawnReleasesFoundLeavesInstallImpossibleIn32Bits) {
  Found(2018);
  Found(2024);
  ui::OfferReleases(inventory, 32, flags);
  EXPECT_FALSE(ui::AnyReleaseTicked(flags));
}

TEST_F(SetupChoicesTest, AReleaseAlreadyUntickedStaysUnticked) {
  Found(2009);
  flags[2] = 0;
  ui::OfferReleases(inventory, 64, flags);
  EXPECT_EQ(flags[2], 0);
}

TEST(InstallButtonRuleTest, AnyNonZeroFlagCountsAsTicked) {
  ui::ReleaseFlags flags{};
  EXPECT_FALSE(ui::AnyReleaseTicked(flags));
  flags[18] = -7;
  EXPECT_TRUE(ui::AnyReleaseTicked(flags));
  flags[18] = 0;
  flags[0] = 1;
  EXPECT_TRUE(ui::AnyReleaseTicked(flags));
}

TEST(VersionTextTest, ShowsYearMonthDayWithoutLeadingZerosAndTheEdition) {
  // "Zelvar批打印软件 V2024.4.26 (32位版本)" in code page 936.
  EXPECT_EQ(ui::FormatVersionText(20240426, 32),
            "Zelvar\xc5\xfa\xb4\xf2\xd3\xa1\xc8\xed\xbc\xfe V2024.4.26 (32\xce\xbb\xb0\xe6\xb1\xbe)");
  EXPECT_EQ(ui::FormatVersionText(20240426, 64), "Zelvar批打印软件 V2024.4.26 (64位版本)");
  EXPECT_EQ(ui::FormatVersionText(20251103, 64), "Zelvar批打印软件 V2025.11.3 (64位版本)");
  EXPECT_EQ(ui::FormatVersionText(20240101, 32), "Zelvar批打印软件 V2024.1.1 (32位版本)");
}

}  // namespace
