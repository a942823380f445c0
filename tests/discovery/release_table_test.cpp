#include "discovery/release_table.h"

#include <gtest/gtest.h>

#include <set>

namespace discovery {
namespace {

TEST(ReleaseTable, LooksRowsUpByYearAndByIndex) {
  struct Expected {
    int year, index, checkBoxId, moduleYear;
  };
  // The check-box ids of 2010 and 2011 are swapped, and several releases share a module.
  for (const Expected& e : {Expected{2007, 0, 1018, 2008}, {2008, 1, 1019, 2008},
                            {2010, 3, 1027, 2010}, {2011, 4, 1026, 2010}, {2012, 5, 1028, 2010},
                            {2014, 7, 1030, 2013}, {2016, 9, 1032, 2015}, {2020, 13, 1036, 2019},
                            {2022, 15, 1038, 2021}, {2023, 16, 1039, 2021}, {2024, 17, 1040, 2021},
                            {2025, 18, 1041, 2025}}) {
    const ReleaseRow* row = FindReleaseByYear(e.year);
    ASSERT_NE(row, nullptr) << e.year;
    EXPECT_EQ(row->releaseIndex, e.index) << e.year;
    EXPECT_EQ(row->checkBoxId, e.checkBoxId) << e.year;
    EXPECT_EQ(row->moduleYear, e.moduleYear) << e.year;
    EXPECT_EQ(FindReleaseByIndex(e.index), row) << e.year;
  }
  EXPECT_EQ(FindReleaseByYear(2006), nullptr);
  EXPECT_EQ(FindReleaseByYear(2026), nullptr);
  EXPECT_EQ(FindReleaseByIndex(-1), nullptr);
  EXPECT_EQ(FindReleaseByIndex(19), nullptr);
}

TEST(ReleaseTable, RowsAreInYearOrderWithTheirOwnTextsAndFlags) {
  std::set<int> modules;
  std::set<int> checkBoxes;
  for (std::size_t i = 0; i < kReleaseTable.size(); ++i) {
    const ReleaseRow& row = kReleaseTable[i];
    EXPECT_EQ(row.releaseIndex, static_cast<int>(i));
    EXPECT_EQ(row.releaseYear, 2007 + static_cast<int>(i));
    EXPECT_EQ(std::string(row.yearText), std::to_string(row.releaseYear));
    EXPECT_EQ(std::string(row.checkBoxCaption), "For AutoCAD" + std::to_string(row.releaseYear));
    EXPECT_EQ(row.recognisedInWow6432Node, row.releaseYear <= 2009) << row.releaseYear;
    EXPECT_EQ(row.offeredIn32BitEdition, row.releaseYear <= 2016) << row.releaseYear;
    EXPECT_EQ(row.copiesPlotDriver, row.releaseYear == 2008) << row.releaseYear;
    EXPECT_LE(row.moduleYear, row.releaseYear + 1);
    modules.insert(row.moduleYear);
    checkBoxes.insert(row.checkBoxId);
  }
  EXPECT_EQ(modules, (std::set<int>{2008, 2010, 2013, 2015, 2017, 2018, 2019, 2021, 2025}));
  EXPECT_EQ(checkBoxes.size(), kReleaseTable.size());
}

}  // namespace
}  // namespace discovery
