#include "install/owned_places.h"

namespace install {

using discovery::FormatPath;

int DemandLoadKeyName(PathBuffer& name, int releaseYear) {
  return FormatPath(name, kDemandLoadKeyFormat, releaseYear);
}

int ModulePath(PathBuffer& path, const char* productFolder, int moduleYear) {
  return FormatPath(path, "%s\\ZV_BatchPlot%d.ARX", productFolder, moduleYear);
}

int FontsFolder(PathBuffer& folder, const char* acadLocation) {
  return FormatPath(folder, "%s\\Fonts", acadLocation);
}

int SupportFolder(PathBuffer& folder, const char* roamableRootFolder) {
  return FormatPath(folder, "%s\\Support", roamableRootFolder);
}

int DriversFolder(PathBuffer& folder, const char* acadLocation) {
  return FormatPath(folder, "%s\\Drv", acadLocation);
}

int SettingsFolder(PathBuffer& folder, const char* appData) {
  return FormatPath(folder, "%s\\%s", appData, kSettingsFolderName);
}

int SettingsFile(PathBuffer& file, const char* appData) {
  return FormatPath(file, "%s\\%s\\%s", appData, kSettingsFolderName, kSettingsFileName);
}

std::string InFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  path += '\\';
  path += name;
  return path;
}

}  // namespace install
