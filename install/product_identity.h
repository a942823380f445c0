#pragma once

// What names this product wherever it goes: its folder, its entry in installed apps, its
// programs, its version and the places it starts from. Written once here; the build reads the
// version from this file too (app/CMakeLists.txt, scripts/check-version-info.py).
namespace install {

// The version, year.month.day in the texts and resources, YYYYMMDD here.
inline constexpr int setupVersion = 20240426;

// The chosen folder's sub-folder that receives the package.
inline constexpr const char* kProductFolderName = "Zelvar批打印软件";
// The folder box's start where no earlier installation names another.
inline constexpr const char* kDefaultChosenFolder = "C:\\Zelvar";

// Windows' list of installed apps: one key per program below this path, under
// HKEY_LOCAL_MACHINE for every user or under HKEY_CURRENT_USER for the current user alone.
inline constexpr const char* kInstalledAppsEntryPath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelvar批打印软件";
inline constexpr const char* kInstalledAppsDisplayName = "Zelvar批打印软件";
// The maker, as installed apps show it; the programs' version resources name the same company.
inline constexpr const char* kInstalledAppsPublisher = "Zelvar";

// The program that takes the plug-in out again; the package puts it into the product folder.
inline constexpr const char* kUninstallerName = "UnInstall.exe";
// The list of what the setup put into the product folder, kept there beside the uninstaller.
inline constexpr const char* kInstallRecordName = "UnInstall.lst";

// The settings file, which the copy puts into the user's settings folder, a folder of this
// name in the application-data folder ("%APPDATA%\Zelvar"), instead of the product folder.
inline constexpr const char* kSettingsFileName = "Zelvar.Ini";
inline constexpr const char* kSettingsFolderName = "Zelvar";

}  // namespace install
