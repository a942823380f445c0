// Active Setup: Windows runs the StubPath of every component below HKEY_LOCAL_MACHINE whose
// Version is newer than the one recorded below the user's own key, once per user, at logon and
// before the desktop appears. That is how each user of the machine gets the per-user part
// (TRUSTEDPATHS, the settings file) of an installation an administrator made.

#include "registration/active_setup.h"

#include "discovery/text_format.h"
#include "install/product_identity.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "platform/registry_values.h"

namespace registration {

namespace reg = platform::reg;

std::string ActiveSetupVersion() {
  return discovery::FormatText("%d,%d,%d,0", install::setupVersion / 10000,
                               install::setupVersion % 10000 / 100, install::setupVersion % 100);
}

std::string ActiveSetupStubPath(std::string_view productFolder) {
  const std::string folder(productFolder);
  return "\"" + folder + "\\" + install::kDeployToolName + "\" user --folder \"" + folder + "\"";
}

bool StubPathNamesFolder(std::string_view stubPath, std::string_view productFolder) {
  if (stubPath.size() < 2 || stubPath.front() != '"') return false;
  const std::size_t close = stubPath.find('"', 1);
  if (close == std::string_view::npos) return false;
  const std::string expected =
      std::string(productFolder) + "\\" + install::kDeployToolName;
  return ansi::EqualsNoCase(stubPath.substr(1, close - 1), expected);
}

long WriteActiveSetupComponent(platform::Registry& registry, std::string_view productFolder) {
  const std::string path = ansi::BuiltIn(install::kActiveSetupComponentPath);
  registry.DeleteKey(platform::RegRoot::LocalMachine, path.c_str());
  platform::RegKey key;
  const long created = registry.CreateKey(platform::RegRoot::LocalMachine, path.c_str(), key);
  if (created != reg::kSuccess) return created;
  const bool written =
      platform::SetTextValue(registry, key, nullptr, ansi::BuiltIn(install::kInstalledAppsDisplayName)) &&
      platform::SetTextValue(registry, key, "StubPath", ActiveSetupStubPath(productFolder)) &&
      platform::SetTextValue(registry, key, "Version", ActiveSetupVersion()) &&
      platform::SetNumberValue(registry, key, "IsInstalled", 1);
  return written ? reg::kSuccess : reg::kAccessDenied;
}

}  // namespace registration
