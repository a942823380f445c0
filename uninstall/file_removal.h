#pragma once

#include <string>

#include "install/installation_record.h"
#include "platform/file_system.h"
#include "uninstall/removal_report.h"

namespace uninstall {

// Reports why `path` stays after a call that failed with the Win32 `error`: a program holding
// it, no rights (or AutoCAD, while it runs), or the system's text of anything else.
void ReportRefusal(platform::FileSystem& files, const std::string& path, std::uint32_t error,
                   bool autoCADRunning, RemovalReport& report);

// Deletes one file, clearing its read-only attribute first; false (and reported, with why)
// when it stays. A file that is already gone counts as removed. Access denied while AutoCAD
// runs is put down to AutoCAD.
bool RemoveOneFile(platform::FileSystem& files, const std::string& path, bool autoCADRunning,
                   RemovalReport& report);

// Deletes the files the setup put into `productFolder`, except the one named `keptName` (the
// uninstaller, which goes last): by the record, where the folder has one; for an
// installation made before the record existed, everything in the folder. Either way nothing
// is reached through a link: a link in the folder stays, and so does everything where the
// folder itself has become a link. An unreadable record leaves every file. What the record
// names outside the folder is never acted on and goes to the report.
void RemoveProductFiles(platform::FileSystem& files, const std::string& productFolder,
                        const install::RecordReading& record, const std::string& keptName,
                        bool autoCADRunning, RemovalReport& report);

// Removes the product folder, and the chosen folder above it if that is then empty too. A
// product folder that still holds something, which the setup did not put there, stays and
// is named as kept; one that is empty and still refuses is reported.
void RemoveProductFolder(platform::FileSystem& files, const std::string& productFolder,
                         RemovalReport& report);

// Deletes "%APPDATA%\Zelvar\Zelvar.Ini", which the setup writes afresh on every installation,
// and that folder if it is then empty.
void RemoveSettingsFile(platform::FileSystem& files, RemovalReport& report);

}  // namespace uninstall
