#include "discovery/installation_inventory.h"

#include <utility>

#include "platform/ansi_text.h"

namespace discovery {

InstallationInventory::InstallationInventory(platform::Platform platform) : platform_(platform) {}

void InstallationInventory::SetInstallFolder(std::string folder) {
  if (ansi::EndsWithBackslash(folder)) {
    folder.pop_back();
  }
  installFolder = std::move(folder);
}

}  // namespace discovery
