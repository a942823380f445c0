// Where AutoCAD looks for a user's own settings before the machine's: demand-load keys below
// the user's product key are read before those under HKEY_LOCAL_MACHINE, and the support file
// search path begins with the user's roaming Support folder.

#include "registration/user_places.h"

#include <cstdint>

#include "discovery/text_format.h"
#include "install/owned_places.h"
#include "install/package_data_folder.h"
#include "platform/ansi_text.h"
#include "platform/registry_values.h"

namespace registration {
namespace {

namespace reg = platform::reg;

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && ansi::EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

bool UserProductKeyPath(std::string_view machineProductKeyPath, std::string& userPath) {
  // The prefixes are plain ASCII, so a match ends on a character boundary.
  for (const std::string_view prefix : {std::string_view("SOFTWARE\\Wow6432Node\\"),
                                        std::string_view("SOFTWARE\\")}) {
    if (StartsWithNoCase(machineProductKeyPath, prefix)) {
      userPath = "Software\\";
      userPath += machineProductKeyPath.substr(prefix.size());
      return true;
    }
  }
  return false;
}

bool UserSupportFolder(platform::Registry& registry, platform::FileSystem& files,
                       std::string_view machineProductKeyPath, std::string& folder) {
  std::string userPath;
  platform::RegKey userKey;
  if (!UserProductKeyPath(machineProductKeyPath, userPath) ||
      registry.OpenKeyEx(platform::RegRoot::CurrentUser, userPath.c_str(), reg::kKeyRead,
                         userKey) != reg::kSuccess) {
    return false;
  }
  std::string root;
  std::uint32_t type = reg::kTypeNone;
  if (!platform::ReadPathValue(registry, userKey, "RoamableRootFolder", root, type)) {
    return false;
  }
  const std::string rootFolder = ansi::StripTrailingBackslash(root);
  // AutoCAD stores the folder as a plain path. Environment strings are not expanded: a path
  // that still holds one is not a folder to copy into.
  if ((type != reg::kTypeSz && type != reg::kTypeExpandSz) || rootFolder.empty() ||
      (type == reg::kTypeExpandSz && rootFolder.find('%') != std::string::npos)) {
    return false;
  }
  char support[discovery::kPathBufferSize] = {};
  char longestFont[discovery::kPathBufferSize] = {};
  if (install::SupportFolder(support, rootFolder.c_str()) == discovery::kTextDidNotFit ||
      discovery::FormatPath(longestFont, "%s\\%s", support, install::kFontNames[0]) ==
          discovery::kTextDidNotFit ||
      install::GetPathKind(files, support) != install::PathIsFolder) {
    return false;
  }
  folder = support;
  return true;
}

}  // namespace registration
