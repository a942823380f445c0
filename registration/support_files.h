#pragma once

#include <string>

#include "discovery/installation_inventory.h"

namespace registration {

// Copies the two shape fonts into the Fonts folder of every install location of each ticked
// release (flags in release order), and for AutoCAD 2008 the plot driver file into Drv.
// True when every copy into a Fonts or Drv folder that exists succeeded; a missing folder
// and a release with nothing found are not failures.
bool InstallSupportFiles(const discovery::InstallationInventory& inventory,
                         platform::Platform platform, platform::WindowRef owner,
                         const discovery::ReleaseFlags& flags);

// The support files of one AutoCAD install folder; same outcome rule.
bool CopySupportFiles(platform::Platform platform, platform::WindowRef owner,
                      std::string location, bool withPlotDriver);

}  // namespace registration
