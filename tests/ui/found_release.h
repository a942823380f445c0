#pragma once

#include <cstddef>
#include <string>

#include "discovery/installation_inventory.h"

namespace ui::testing {

// Files one AutoCAD location under the release of `year`, as the scan would.
inline void FileFoundRelease(discovery::InstallationInventory& inventory, int year) {
  const auto index = static_cast<std::size_t>(year - 2007);
  std::string location = "C:\\AutoCAD ";
  location += std::to_string(year);
  inventory.acadLocations[index].push_back(location);
  inventory.productKeyPaths[index].push_back("SOFTWARE\\Autodesk\\AutoCAD\\R\\ACAD-1:409\\");
}

}  // namespace ui::testing
