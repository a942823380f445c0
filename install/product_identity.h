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
// The package's settings file as the product folder keeps it, for the users who get their own
// copy later, at their logon, from the tool: under a name the plug-in does not read.
inline constexpr const char* kSettingsTemplateName = "Zelvar.Ini.default";

// The console program that registers and removes without asking anyone: the Windows Installer
// package's custom actions, Active Setup at each user's logon and administrators' scripts run
// it from the product folder.
inline constexpr const char* kDeployToolName = "zelvar-deploy.exe";
// Active Setup's component (HKEY_LOCAL_MACHINE, the 64-bit view), which runs the tool's
// per-user verb once for every user of the machine at their next logon, and again whenever the
// version grows. The ids never change. SetUp.exe's component and the Windows Installer
// package's are two: Windows Installer removes its key's values whoever wrote them last, and
// a user who has run one component at a version never runs another of the same id and
// version, so with one id each route could take away or hide the other's per-user part.
inline constexpr const char* kActiveSetupComponentPath =
    "Software\\Microsoft\\Active Setup\\Installed Components\\"
    "{8C3E5F1A-2B7D-4E69-9A0C-5D4F3B2E1A07}";
inline constexpr const char* kPackageActiveSetupComponentPath =
    "Software\\Microsoft\\Active Setup\\Installed Components\\"
    "{474ABC35-1B0C-41D3-BC1F-3BAB68299AB1}";

}  // namespace install
