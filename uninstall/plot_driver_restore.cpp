#include "uninstall/plot_driver_restore.h"

#include <string>

#include "discovery/text_format.h"
#include "install/package_data_folder.h"
#include "registration/support_files.h"
#include "uninstall/file_removal.h"

namespace uninstall {

void RestorePlotDrivers(platform::FileSystem& files,
                        const discovery::InstallationInventory& inventory, RemovalReport& report) {
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    if (!row.copiesPlotDriver) continue;
    for (const std::string& location :
         inventory.acadLocations[static_cast<std::size_t>(row.releaseIndex)]) {
      char drivers[discovery::kPathBufferSize];
      if (discovery::FormatPath(drivers, "%s\\Drv", location.c_str()) == discovery::kTextDidNotFit) {
        continue;
      }
      const std::string kept = std::string(drivers) + "\\" + registration::kKeptPlotDriverName;
      const std::string driver = std::string(drivers) + "\\" + registration::kPlotDriverName;
      if (install::GetPathKind(files, kept) != install::PathIsFile) continue;
      install::ClearReadOnly(files, driver);
      if (files.Copy(kept.c_str(), driver.c_str(), false)) {
        RemoveOneFile(files, kept, false, report);
      } else {
        ReportRefusal(files, driver, files.LastError(), false, report);
      }
    }
  }
}

}  // namespace uninstall
