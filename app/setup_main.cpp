// SetUp.exe: installs the batch-printing plug-in and registers it with the AutoCAD releases the
// user ticks. The command line is not read.

#include <windows.h>

#include "app/ansi_code_page.h"
#include "app/wizard_app.h"
#include "discovery/installation_inventory.h"
#include "platform/win32/win32_platform.h"

namespace {

// Static start-up, in this order: narrow-text operations follow the machine's ANSI code page;
// then the application object; then the one installation inventory. At exit they go in reverse
// order, the inventory before the application object. The application object only keeps a
// reference to the inventory, so it may come to life first.
const bool codePageSet = app::UseAnsiCodePage();
platform::Win32Platform thePlatform;
extern discovery::InstallationInventory theInventory;
app::CWizardApp theApp(theInventory, thePlatform.Get(), thePlatform.messages);
discovery::InstallationInventory theInventory(thePlatform.Get());

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  return ui::AfxWinMain(instance);
}
