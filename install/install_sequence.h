#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "install/install_view.h"

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

  // Copies the package into the product folder and registers it with the ticked releases.
  // False when the copy stopped; the dialog has then been ended with IDCANCEL.
  bool RunInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                  const std::string& productFolder);

  // Cleared by the first warning; later clicks install even while AutoCAD runs.
  bool warnAutoCADRunning = true;

 private:
  discovery::InstallationInventory& inventory_;
  platform::Platform platform_;
};

// A folder the installation can be placed below: a drive ("C:" or "C:\...") or a share
// ("\\server\share..."). A relative or empty folder would land wherever the program happens
// to run.
bool IsAbsoluteFolder(const std::string& folder);

// A folder path the setup can create and work in: it fits the program's path buffers (259
// bytes) and is short enough for Windows to create it (under 248 characters). The chosen
// folder is shorter than the product folder below it, so checking the product folder
// checks both.
bool FolderCanBeMade(const std::string& folder);

// The chosen folder's sub-folder that receives the package.
inline constexpr const char* kProductFolderName = "Zelvar批打印软件";

}  // namespace install
