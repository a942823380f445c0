#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "install/owned_places.h"
#include "install/package_prompts.h"
#include "registration/registration_outcome.h"

namespace registration {

// AutoCAD 2008's PDF plot driver and the name AutoCAD's own is kept under (owned_places.h).
using install::kKeptPlotDriverName;
using install::kPlotDriverName;

// Copies the two shape fonts into the Fonts folder of every install location of each ticked
// release (flags in release order), and for AutoCAD 2008 the plot driver file into Drv. Fonts
// refused by an existing Fonts folder go to the current user's roaming Support folder of the
// location's product key instead; what went there, and what found no place, is entered into
// `outcome`. A missing Fonts or Drv folder is AutoCAD's choice, not a refusal. AutoCAD's own
// plot driver is kept once, before the package's first replaces it, so that the uninstaller
// can put it back; a later installation never overwrites what was kept.
void InstallSupportFiles(const discovery::InstallationInventory& inventory,
                         platform::Platform platform, install::PackagePrompts& prompts,
                         const discovery::ReleaseFlags& flags, RegistrationOutcome& outcome);

// The support files of one AutoCAD install folder, whose product key (below
// HKEY_LOCAL_MACHINE, as the scan recorded it) is `productKeyPath`.
void CopySupportFiles(platform::Platform platform, install::PackagePrompts& prompts,
                      std::string location, const std::string& productKeyPath,
                      bool withPlotDriver, ReleaseOutcome& outcome);

// The support files of one AutoCAD install folder for every user, from `sourceFolder` (the
// product folder, which holds the fonts and Zelvar.prt5 under their package names), into
// AutoCAD's own Fonts and Drv folders alone: nothing goes to a user's folder, and a refusal
// is entered into `refused` (the file's path). What was placed is entered into `placed`.
void CopySupportFilesMachineWide(platform::FileSystem& files, const std::string& sourceFolder,
                                 const std::string& location, bool withPlotDriver,
                                 discovery::TextList& placed, discovery::TextList& refused);

}  // namespace registration
