#include "discovery/release_table.h"

#include <gtest/gtest.h>

#include <string>

namespace discovery {
namespace {

// Every row, column by column, as the program's other parts rely on it: the check-box ids of
// 2010 and 2011 are swapped, several releases share a module, only 2007 to 2009 are
// recognised in the Wow6432Node branch, only 2007 to 2016 are offered by the 32-bit edition,
// and only 2008 gets the plot driver.
TEST(ReleaseTable, HoldsEveryRowAndFindsItByYearAndByIndex) {
  struct Row {
    int year, checkBoxId, moduleYear;
    bool wow6432Node, in32BitEdition, plotDriver;
  };
  constexpr Row kRows[kReleaseCount] = {
      {2007, 1018, 2008, true, true, false},   {2008, 1019, 2008, true, true, true},
      {2009, 1020, 2008, true, true, false},   {2010, 1027, 2010, false, true, false},
      {2011, 1026, 2010, false, true, false},  {2012, 1028, 2010, false, true, false},
      {2013, 1029, 2013, false, true, false},  {2014, 1030, 2013, false, true, false},
      {2015, 1031, 2015, false, true, false},  {2016, 1032, 2015, false, true, false},
      {2017, 1033, 2017, false, false, false}, {2018, 1034, 2018, false, false, false},
      {2019, 1035, 2019, false, false, false}, {2020, 1036, 2019, false, false, false},
      {2021, 1037, 2021, false, false, false}, {2022, 1038, 2021, false, false, false},
      {2023, 1039, 2021, false, false, false}, {2024, 1040, 2021, false, false, false},
      {2025, 1041, 2025, false, false, false},
  };
  for (int index = 0; index < static_cast<int>(kReleaseCount); ++index) {
    const Row& expected = kRows[index];
    const ReleaseRow* row = FindReleaseByYear(expected.year);
    ASSERT_NE(row, nullptr) << expected.year;
    EXPECT_EQ(FindReleaseByIndex(index), row) << expected.year;
    EXPECT_EQ(row, &kReleaseTable[static_cast<std::size_t>(index)]) << expected.year;
    EXPECT_EQ(row->releaseIndex, index) << expected.year;
    EXPECT_EQ(row->releaseYear, expected.year);
    EXPECT_EQ(std::string(row->yearText), std::to_string(expected.year));
    EXPECT_EQ(std::string(row->checkBoxCaption), "For AutoCAD" + std::to_string(expected.year));
    EXPECT_EQ(row->checkBoxId, expected.checkBoxId) << expected.year;
    EXPECT_EQ(row->moduleYear, expected.moduleYear) << expected.year;
    EXPECT_EQ(row->recognisedInWow6432Node, expected.wow6432Node) << expected.year;
    EXPECT_EQ(row->offeredIn32BitEdition, expected.in32BitEdition) << expected.year;
    EXPECT_EQ(row->copiesPlotDriver, expected.plotDriver) << expected.year;
  }
  EXPECT_EQ(FindReleaseByYear(2006), nullptr);
  EXPECT_EQ(FindReleaseByYear(2026), nullptr);
  EXPECT_EQ(FindReleaseByIndex(-1), nullptr);
  EXPECT_EQ(FindReleaseByIndex(19), nullptr);
}

}  // namespace
}  // namespace discovery
