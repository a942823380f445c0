#pragma once

#include <windows.h>

#include "discovery/installation_inventory.h"
#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "ui/win_app.h"

namespace app {

// The setup's application object. Start-up scans the registry before any window exists, lets
// the 32-bit edition tell of 64-bit AutoCAD it cannot serve, runs the setup dialog modally and
// then lets the program end.
class CWizardApp : public ui::CWinApp {
 public:
  CWizardApp(discovery::InstallationInventory& inventory, platform::Platform platform,
             platform::MessageBoxes& messages);

  BOOL InitInstance() override;

 private:
  discovery::InstallationInventory& inventory_;
  platform::Platform platform_;
  platform::MessageBoxes& messages_;
};

}  // namespace app
