// acad-inventory: prints which AutoCAD installations the setup sees on this machine, one line
// per installation, in the order the setup offers and registers them:
//   releaseYear <TAB> productKeyPath <TAB> acadLocation
// The texts are the registry's own ANSI bytes, unconverted. Nothing else goes to stdout.

#include <windows.h>

#include <cstdio>

#include "app/ansi_code_page.h"
#include "discovery/installation_inventory.h"
#include "platform/win32/win32_platform.h"

int main() {
  app::UseAnsiCodePage();

  platform::Win32Platform win32;
  discovery::InstallationInventory inventory(win32.Get());
  inventory.ScanAcadInstallations();

  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    const auto r = static_cast<std::size_t>(row.releaseIndex);
    for (std::size_t k = 0; k < inventory.productKeyPaths[r].size(); ++k) {
      const std::string& keyPath = inventory.productKeyPaths[r][k];
      const std::string& location = inventory.acadLocations[r][k];
      std::printf("%d\t", row.releaseYear);
      std::fwrite(keyPath.data(), 1, keyPath.size(), stdout);
      std::fputc('\t', stdout);
      std::fwrite(location.data(), 1, location.size(), stdout);
      std::fputc('\n', stdout);
    }
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
