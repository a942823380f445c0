// Places the plug-in's two shape fonts into every AutoCAD install folder of a ticked release,
// and for AutoCAD 2008 the package's PDF plot driver in place of AutoCAD's own pdfplot9.hdi.
// The Fonts and Drv folders belong to AutoCAD: they are never created here. Where AutoCAD's
// program folder refuses the fonts (a user without administrator rights), they go to the
// user's roaming Support folder, the first folder of AutoCAD's default search path.

#include "registration/support_files.h"

#include "discovery/text_format.h"
#include "install/owned_places.h"
#include "install/package_copy.h"
#include "install/package_data_folder.h"
#include "registration/user_places.h"

namespace registration {
namespace {

using discovery::kPathBufferSize;
using discovery::kTextDidNotFit;
using install::InFolder;

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
  if (copied) files.RemoveStream(destination.c_str(), install::kDownloadMarkStream);
  return copied || !folderExists;
}

// A plot driver larger than this is no file either AutoCAD or the package ships.
constexpr std::size_t kLargestDriver = 64 * 1024 * 1024;

bool SameContents(platform::FileSystem& files, const std::string& a, const std::string& b) {
  std::string first;
  std::string second;
  return files.ReadWholeFile(a.c_str(), kLargestDriver, first) &&
         files.ReadWholeFile(b.c_str(), kLargestDriver, second) && first == second;
}

// Keeps AutoCAD's driver beside it before the package's replaces it. Nothing to keep where a
// copy was kept before, where there is no driver, or where the driver there is already the
// package's (an installation made before drivers were kept: AutoCAD's is lost then). False
// when AutoCAD's driver could not be kept: it must then not be replaced either.
bool KeepAutoCADsDriver(platform::FileSystem& files, const std::string& packageDriver,
                        const std::string& driver, const std::string& kept) {
  if (install::GetPathKind(files, kept) != install::PathMissing ||
      install::GetPathKind(files, driver) != install::PathIsFile ||
      SameContents(files, packageDriver, driver)) {
    return true;
  }
  return files.Copy(driver.c_str(), kept.c_str(), true);
}

// The package's plot driver in place of AutoCAD's in the Drv folder of `location`, AutoCAD's
// own kept first. False when either was refused; the driver's path goes to `placed` when the
// package's driver is there or was refused.
bool PlacePlotDriver(platform::FileSystem& files, const std::string& dataFolder,
                     const std::string& location, std::string* placed) {
  char driverFolder[kPathBufferSize] = {};
  if (install::DriversFolder(driverFolder, location.c_str()) == kTextDidNotFit) {
    return true;
  }
  const std::string drivers = driverFolder;
  const bool driversExist = install::GetPathKind(files, drivers) == install::PathIsFolder;
  const std::string packageDriver = InFolder(dataFolder, "Zelvar.prt5");
  const std::string driver = InFolder(drivers, kPlotDriverName);
  // AutoCAD reads its plot drivers from its own Drv folder only.
  if (!KeepAutoCADsDriver(files, packageDriver, driver, InFolder(drivers, kKeptPlotDriverName)) ||
      !PlaceFile(files, packageDriver, driver, driversExist)) {
    if (placed != nullptr) *placed = driver;
    return false;
  }
  if (placed != nullptr && driversExist) *placed = driver;
  return true;
}

}  // namespace

void CopySupportFiles(platform::Platform platform, install::PackagePrompts& prompts,
                      std::string location, const std::string& productKeyPath,
                      bool withPlotDriver, ReleaseOutcome& outcome) {
  std::string dataFolder;
  if (!install::FindPackageDataFolder(platform, prompts, dataFolder)) {
    outcome.fontsMissing = true;
    outcome.driverMissing = outcome.driverMissing || withPlotDriver;
    return;
  }
  platform::FileSystem& files = platform.files;

  char fontsFolder[kPathBufferSize] = {};
  if (install::FontsFolder(fontsFolder, location.c_str()) == kTextDidNotFit) {
    // No program can reach a folder this long through the path functions AutoCAD uses.
    return;
  }
  const std::string fonts = fontsFolder;
  const bool fontsExist = install::GetPathKind(files, fonts) == install::PathIsFolder;
  bool fontsPlaced = true;
  for (const char* font : install::kFontNames) {
    const bool placed =
        PlaceFile(files, InFolder(dataFolder, font), InFolder(fonts, font), fontsExist);
    fontsPlaced = fontsPlaced && placed;
  }
  if (!fontsPlaced) {
    // AutoCAD searches the user's roaming Support folder before its own Fonts folder, so
    // both fonts go there: one font found in either place is then never an older copy.
    std::string support;
    const bool supportFound =
        UserSupportFolder(platform.registry, files, productKeyPath, support);
    bool fontsInSupport = supportFound;
    for (const char* font : install::kFontNames) {
      const bool placed = supportFound && PlaceFile(files, InFolder(dataFolder, font),
                                                    InFolder(support, font), true);
      fontsInSupport = fontsInSupport && placed;
    }
    if (fontsInSupport) {
      outcome.perUser = true;
    } else {
      outcome.fontsMissing = true;
    }
  }

  if (withPlotDriver && !PlacePlotDriver(files, dataFolder, location, nullptr)) {
    outcome.driverMissing = true;
  }
}

void InstallSupportFiles(const discovery::InstallationInventory& inventory,
                         platform::Platform platform, install::PackagePrompts& prompts,
                         const discovery::ReleaseFlags& flags, RegistrationOutcome& outcome) {
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    const auto index = static_cast<std::size_t>(row.releaseIndex);
    if (flags[index] == 0) {
      continue;
    }
    const discovery::TextList& locations = inventory.acadLocations[index];
    const discovery::TextList& productKeys = inventory.productKeyPaths[index];
    for (std::size_t k = 0; k < locations.size(); ++k) {
      // Entry k of both lists came from the same product key.
      const std::string noProductKey;
      CopySupportFiles(platform, prompts, locations[k],
                       k < productKeys.size() ? productKeys[k] : noProductKey,
                       row.copiesPlotDriver, outcome.releases[index]);
    }
  }
}

void CopySupportFilesMachineWide(platform::FileSystem& files, const std::string& sourceFolder,
                                 const std::string& location, bool withPlotDriver,
                                 discovery::TextList& placed, discovery::TextList& refused) {
  char fontsFolder[kPathBufferSize] = {};
  if (install::FontsFolder(fontsFolder, location.c_str()) == kTextDidNotFit) {
    return;
  }
  const std::string fonts = fontsFolder;
  const bool fontsExist = install::GetPathKind(files, fonts) == install::PathIsFolder;
  for (const char* font : install::kFontNames) {
    const std::string destination = InFolder(fonts, font);
    if (!PlaceFile(files, InFolder(sourceFolder, font), destination, fontsExist)) {
      refused.push_back(destination);
    } else if (fontsExist) {
      placed.push_back(destination);
    }
  }
  std::string driver;
  const bool driverPlaced =
      !withPlotDriver || PlacePlotDriver(files, sourceFolder, location, &driver);
  if (!driver.empty()) (driverPlaced ? placed : refused).push_back(driver);
}

}  // namespace registration
