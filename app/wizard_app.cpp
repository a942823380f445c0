#include "app/wizard_app.h"

#include "app/edition_notice.h"
#include "ui/logic/build_constants.h"
#include "ui/setup_dialog.h"

namespace app {

CWizardApp::CWizardApp(discovery::InstallationInventory& inventory, platform::Platform platform,
                       platform::MessageBoxes& messages)
    : ui::CWinApp(nullptr), inventory_(inventory), platform_(platform), messages_(messages) {}

BOOL CWizardApp::InitInstance() {
  inventory_.ScanAcadInstallations();
  TellOfSixtyFourBitAcad(platform_, messages_, ui::setupBits);
  {
    ui::Dlg_Setup dialog(inventory_, platform_, messages_);
    // However the dialog was closed, the run is over.
    dialog.DoModal();
  }
  return FALSE;
}

}  // namespace app
