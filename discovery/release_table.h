#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace discovery {

// One AutoCAD release the setup knows. Every per-release item of the program hangs off a row:
// the dialog's check box, the year searched for in ProductName, the lists of installations,
// the demand-load key name, the plug-in module that is registered, and the plot driver file.
struct ReleaseRow {
  int releaseIndex;
  int releaseYear;
  const char* yearText;         // searched for in a product's ProductName
  const char* checkBoxCaption;  // the release's check box in the setup dialog
  int checkBoxId;
  int moduleYear;  // the plug-in module "ZV_BatchPlot<moduleYear>.ARX" that serves the release
  bool recognisedInWow6432Node;
  bool offeredIn32BitEdition;
  bool copiesPlotDriver;  // pdfplot9.hdi goes into the Drv folder
};

inline constexpr std::size_t kReleaseCount = 19;

// One selection flag per release, in table order (2007 first); non-zero means ticked.
using ReleaseFlags = std::array<std::int32_t, kReleaseCount>;

// The 19 releases, AutoCAD 2007 first. Every per-release list and argument list of the
// program is in this order. The check-box ids are not in year order (2010 has 1027, 2011 has
// 1026), and releases that share a module have the same moduleYear.
inline constexpr std::array<ReleaseRow, kReleaseCount> kReleaseTable{{
    {0, 2007, "2007", "For AutoCAD2007", 1018, 2008, true, true, false},
    {1, 2008, "2008", "For AutoCAD2008", 1019, 2008, true, true, true},
    {2, 2009, "2009", "For AutoCAD2009", 1020, 2008, true, true, false},
    {3, 2010, "2010", "For AutoCAD2010", 1027, 2010, false, true, false},
    {4, 2011, "2011", "For AutoCAD2011", 1026, 2010, false, true, false},
    {5, 2012, "2012", "For AutoCAD2012", 1028, 2010, false, true, false},
    {6, 2013, "2013", "For AutoCAD2013", 1029, 2013, false, true, false},
    {7, 2014, "2014", "For AutoCAD2014", 1030, 2013, false, true, false},
    {8, 2015, "2015", "For AutoCAD2015", 1031, 2015, false, true, false},
    {9, 2016, "2016", "For AutoCAD2016", 1032, 2015, false, true, false},
    {10, 2017, "2017", "For AutoCAD2017", 1033, 2017, false, false, false},
    {11, 2018, "2018", "For AutoCAD2018", 1034, 2018, false, false, false},
    {12, 2019, "2019", "For AutoCAD2019", 1035, 2019, false, false, false},
    {13, 2020, "2020", "For AutoCAD2020", 1036, 2019, false, false, false},
    {14, 2021, "2021", "For AutoCAD2021", 1037, 2021, false, false, false},
    {15, 2022, "2022", "For AutoCAD2022", 1038, 2021, false, false, false},
    {16, 2023, "2023", "For AutoCAD2023", 1039, 2021, false, false, false},
    {17, 2024, "2024", "For AutoCAD2024", 1040, 2021, false, false, false},
    {18, 2025, "2025", "For AutoCAD2025", 1041, 2025, false, false, false},
}};

// The row of a release index (0 to 18) or a release year (2007 to 2025); null outside the
// table, and every per-release operation then does nothing.
const ReleaseRow* FindReleaseByIndex(int releaseIndex);
const ReleaseRow* FindReleaseByYear(int releaseYear);

}  // namespace discovery
