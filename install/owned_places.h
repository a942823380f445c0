#pragma once

// Every place the product writes on a machine, named here once: the installation writes from
// these names, the removals take out what they name, and the whole-state tests allow exactly
// these places to change. A place the product comes to own is added here first.
//
// The path-forming functions write into a path buffer and return the length, or
// discovery::kTextDidNotFit when the path would not fit: a path that did not fit names some
// other place, and is never acted on.

#include <array>
#include <string>
#include <string_view>

#include "discovery/text_format.h"
#include "install/product_identity.h"

namespace install {

using PathBuffer = char[discovery::kPathBufferSize];

// Below each product key AutoCAD's scan found (HKEY_LOCAL_MACHINE, either registry branch),
// and below the user's product key of the same release and product
// (HKEY_CURRENT_USER\Software\Autodesk\AutoCAD\<release>\<product>): the demand-load key of the
// release, in AutoCAD's Applications key, with its two values.
inline constexpr const char* kApplicationsKeyName = "Applications";
inline constexpr const char* kDemandLoadKeyFormat = "Applications\\ZV_BatchPlot%d";
inline constexpr const char* kLoadControlsValueName = "LOADCTRLS";
inline constexpr const char* kLoaderValueName = "LOADER";
// "Applications\ZV_BatchPlot<releaseYear>", relative to a product key.
int DemandLoadKeyName(PathBuffer& name, int releaseYear);
// The LOADER: the release's module "<productFolder>\ZV_BatchPlot<moduleYear>.ARX".
int ModulePath(PathBuffer& path, const char* productFolder, int moduleYear);

// In the Variables key of every profile of every product of the user
// (HKEY_CURRENT_USER\...\<product>\Profiles\<profile>\Variables, made where it is missing):
// the product folder, one entry of TRUSTEDPATHS among the others'.
inline constexpr const char* kVariablesKeyName = "Variables";
inline constexpr const char* kTrustedPathsValueName = "TRUSTEDPATHS";

// Windows' installed apps: kInstalledAppsEntryPath below HKEY_LOCAL_MACHINE or
// HKEY_CURRENT_USER. Active Setup: kActiveSetupComponentPath below HKEY_LOCAL_MACHINE, and the
// user's record of it at the same path below HKEY_CURRENT_USER (both in product_identity.h).

// The two shape fonts, in each install location's Fonts folder or, where that is refused, in
// the user's roaming Support folder (the product key's RoamableRootFolder followed by Support).
inline constexpr std::array<const char*, 2> kFontNames{"Zelvar_EN.shx", "Zelvar_HZ.shx"};
int FontsFolder(PathBuffer& folder, const char* acadLocation);
int SupportFolder(PathBuffer& folder, const char* roamableRootFolder);

// AutoCAD 2008's PDF plot driver in the install location's Drv folder, which the package's
// replaces, and the name AutoCAD's own file is kept under beside it: AutoCAD loads *.hdi from
// Drv, and neither the long name nor its 8.3 form ("PDFPLO~1.ORI") ends in .hdi.
inline constexpr const char* kPlotDriverName = "pdfplot9.hdi";
inline constexpr const char* kKeptPlotDriverName = "pdfplot9.hdi.orig";
int DriversFolder(PathBuffer& folder, const char* acadLocation);

// The settings file "%APPDATA%\Zelvar\Zelvar.Ini", and the folder that holds it.
int SettingsFolder(PathBuffer& folder, const char* appData);
int SettingsFile(PathBuffer& file, const char* appData);

// The product folder "<chosen>\Zelvar批打印软件" (product_folder.h) with the files of its record
// (kInstallRecordName), the record itself and the uninstaller (kUninstallerName).
std::string InFolder(std::string_view folder, std::string_view name);

}  // namespace install
