#pragma once

#include <string>

#include "discovery/installation_inventory.h"
#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "ui/logic/install_view.h"

namespace ui {

// The Install command of the setup dialog: the running-AutoCAD warning (once per run), the
// installation with its questions in message boxes, and the dialog's finished look.
class InstallCommand {
 public:
  InstallCommand(discovery::InstallationInventory& inventory, platform::Platform platform,
                 platform::MessageBoxes& messages);

  // `releaseFlags` and `targetFolder` are the dialog's members that view.UpdateData fills;
  // afterwards targetFolder holds the product folder. Where the copy stopped, the dialog has
  // been ended with IDCANCEL.
  void OnInstall(InstallView& view, const discovery::ReleaseFlags& releaseFlags,
                 std::string& targetFolder);

  // Cleared by the first warning; later clicks install even while AutoCAD runs.
  bool warnAutoCADRunning = true;

 private:
  discovery::InstallationInventory& inventory_;
  platform::Platform platform_;
  platform::MessageBoxes& messages_;
};

}  // namespace ui
