#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "install/closing_notice.h"
#include "install/install_prompts.h"
#include "registration/registration_outcome.h"

namespace install {

// What is to be installed: the releases to register (flags in release order) and the folder
// chosen, in which the product folder is made.
struct InstallRequest {
  discovery::ReleaseFlags releases{};
  std::string folder;
};

enum class InstallEnd {
  InvalidFolder,   // the folder cannot take the product folder; nothing was done
  PackageMissing,  // no package beside the program; nothing was made
  Aborted,         // a failed copy was answered with Abort; files copied until then stay
  Installed,       // the package is in place and registered, whatever `problems` holds
};

// What happened.
struct InstallReport {
  InstallEnd end = InstallEnd::InvalidFolder;
  // The chosen folder without one trailing backslash, followed by the product folder's name.
  std::string productFolder;
  registration::RegistrationOutcome registration;
  ClosingProblems problems;
};

// The installation: the product folder checked, the package copied into it, an installation
// in another folder that installed apps lists taken out, the package registered with the
// requested releases, and the installed-apps entry written; for every user (below
// HKEY_LOCAL_MACHINE, by an administrator) also Active Setup's component. `prompts` answers the copy's
// questions and hears the notices; `progress` hears how far the work has come.
InstallReport Install(platform::Platform platform, discovery::InstallationInventory& inventory,
                      const InstallRequest& request, InstallPrompts& prompts,
                      InstallProgress& progress);

}  // namespace install
