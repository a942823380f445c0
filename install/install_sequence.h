#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "install/closing_notice.h"
#include "install/install_view.h"
#include "install/product_folder.h"

namespace install {

// The Install command of the setup dialog: the running-AutoCAD warning (once per run), the
// product folder, then the installation and the dialog's finished look.
class InstallCommand {
 public:
  InstallCommand(discovery::InstallationInventory& inventory, platform::Platform platform);

  // `releaseFlags` and `targetFolder` are the dialog's members that view.UpdateData fills;
  // afterwards targetFolder holds the product folder.
  void OnInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                 std::string& targetFolder);

  // Copies the package into the product folder, takes out an installation in another folder
  // that installed apps lists, and registers the package with the ticked releases. False when
  // the copy stopped; the dialog has then been ended with IDCANCEL.
  bool RunInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                  const std::string& productFolder);

  // Cleared by the first warning; later clicks install even while AutoCAD runs.
  bool warnAutoCADRunning = true;

 private:
  void TakeOutEarlierInstallations(const std::string& productFolder,
                                   const InstallRecord& installed);

  discovery::InstallationInventory& inventory_;
  platform::Platform platform_;
  // Told once the installation has ended, before the finished look.
  ClosingProblems problems_;
};

}  // namespace install
