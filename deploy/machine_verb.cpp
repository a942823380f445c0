// machine: what serves every user of the machine, written where only an administrator may
// write. A refusal has no fallback: the Windows Installer package rolls back on it.

#include "deploy/verbs.h"

#include <algorithm>

#include "platform/ansi_text.h"

#include "discovery/installation_inventory.h"
#include "registration/demand_load.h"
#include "registration/support_files.h"

namespace deploy {

void DeployMachine(platform::Platform platform, const DeployCommand& command, Journal& journal) {
  // The folder every user's AutoCAD is to load from is closed first, as SetUp.exe closes its
  // own: one Windows Installer makes below a folder such as D:\ takes that folder's entries,
  // under which any user may change its modules. Nothing is registered for a folder left open.
  if (!platform.files.ProtectFolder(command.folder.c_str(), platform::FolderAccess::MachineWide)) {
    journal.refused.push_back("access of " + command.folder + " for administrators alone");
    return;
  }
  journal.done.push_back("closed " + command.folder + " to all but administrators");
  discovery::InstallationInventory inventory(platform);
  inventory.ScanAcadInstallations();
  inventory.SetInstallFolder(command.folder);
  std::vector<std::string> written;
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    const auto index = static_cast<std::size_t>(row.releaseIndex);
    if (command.releases[index] == 0) continue;
    registration::RegisterArxMachineWide(inventory, platform.registry, row.releaseYear, written,
                                         journal.refused);
    // Both registry branches may name one install folder: it is served once.
    std::vector<std::string> served;
    for (const std::string& location : inventory.acadLocations[index]) {
      const std::string folder = ansi::StripTrailingBackslash(location);
      if (std::any_of(served.begin(), served.end(),
                      [&](const std::string& s) { return ansi::EqualsNoCase(s, folder); })) {
        continue;
      }
      served.push_back(folder);
      registration::CopySupportFilesMachineWide(platform.files, command.folder, location,
                                                row.copiesPlotDriver, written, journal.refused);
    }
  }
  for (const std::string& place : written) journal.done.push_back("written " + place);
}

}  // namespace deploy
