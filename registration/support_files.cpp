// Places the plug-in's two shape fonts into every AutoCAD install folder of a ticked release,
// and for AutoCAD 2008 the package's PDF plot driver in place of AutoCAD's own pdfplot9.hdi.
// The Fonts and Drv folders belong to AutoCAD: they are never created here.

#include "registration/support_files.h"

#include "discovery/text_format.h"
#include "install/package_data_folder.h"

namespace registration {
namespace {

using discovery::kPathBufferSize;
using discovery::kTextDidNotFit;

// Copies one package file over an installed one. A read-only old copy would make the copy
// fail, so the attribute goes first; afterwards neither the package file nor the installed
// copy is left read-only, so a later installation can replace it. False when the copy into
// an existing folder failed; a missing folder is AutoCAD's choice, not a failure.
bool PlaceFile(platform::FileSystem& files, const std::string& source,
               const std::string& destination, bool folderExists) {
  install::ClearReadOnly(files, destination);
  const bool copied = files.Copy(source.c_str(), destination.c_str(), false);
  install::ClearReadOnly(files, source);
  install::ClearReadOnly(files, destination);
  return copied || !folderExists;
}

std::string JoinPath(const std::string& folder, const char* name) {
  std::string path = folder;
  path += '\\';
  path += name;
  return path;
}

}  // namespace

bool CopySupportFiles(platform::Platform platform, platform::WindowRef owner,
                      std::string location, bool withPlotDriver) {
  std::string dataFolder;
  if (!install::FindPackageDataFolder(platform, owner, dataFolder)) {
    return false;
  }
  platform::FileSystem& files = platform.files;

  char fontsFolder[kPathBufferSize] = {};
  if (discovery::FormatPath(fontsFolder, "%s\\Fonts", location.c_str()) == kTextDidNotFit) {
    // No program can reach a folder this long through the path functions AutoCAD uses.
    return true;
  }
  const std::string fonts = fontsFolder;
  const bool fontsExist = install::GetPathKind(files, fonts) == install::PathIsFolder;
  bool allCopied = PlaceFile(files, JoinPath(dataFolder, "Zelvar_EN.shx"),
                             JoinPath(fonts, "Zelvar_EN.shx"), fontsExist);
  allCopied = PlaceFile(files, JoinPath(dataFolder, "Zelvar_HZ.shx"),
                        JoinPath(fonts, "Zelvar_HZ.shx"), fontsExist) &&
              allCopied;

  if (withPlotDriver) {
    char driverFolder[kPathBufferSize] = {};
    if (discovery::FormatPath(driverFolder, "%s\\Drv", location.c_str()) != kTextDidNotFit) {
      const std::string drivers = driverFolder;
      const bool driversExist = install::GetPathKind(files, drivers) == install::PathIsFolder;
      allCopied = PlaceFile(files, JoinPath(dataFolder, "Zelvar.prt5"),
                            JoinPath(drivers, "pdfplot9.hdi"), driversExist) &&
                  allCopied;
    }
  }
  return allCopied;
}

bool InstallSupportFiles(const discovery::InstallationInventory& inventory,
                         platform::Platform platform, platform::WindowRef owner,
                         const discovery::ReleaseFlags& flags) {
  bool allCopied = true;
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    const auto index = static_cast<std::size_t>(row.releaseIndex);
    if (flags[index] == 0) {
      continue;
    }
    for (const std::string& location : inventory.acadLocations[index]) {
      if (!CopySupportFiles(platform, owner, location, row.copiesPlotDriver)) {
        allCopied = false;
      }
    }
  }
  return allCopied;
}

}  // namespace registration
