#pragma once

#include <string>

#include "platform/file_system.h"
#include "uninstall/removal_report.h"

namespace uninstall {

// Deletes everything in `productFolder` except the file `kept` (a full path; the uninstaller
// itself, which goes last), clearing read-only attributes first. Files a running AutoCAD may
// hold are reported with that reason when `autoCADRunning`.
void RemoveProductFiles(platform::FileSystem& files, const std::string& productFolder,
                        const std::string& kept, bool autoCADRunning, RemovalReport& report);

// Deletes one file; false (and reported) when it stays.
bool RemoveOneFile(platform::FileSystem& files, const std::string& path, bool autoCADRunning,
                   RemovalReport& report);

// Removes the product folder, once empty, and the chosen folder above it if that is then
// empty too. Reports the product folder only; the folder above belongs to the user as well.
void RemoveProductFolder(platform::FileSystem& files, const std::string& productFolder,
                         RemovalReport& report);

// Deletes "%APPDATA%\Zelvar\Zelvar.Ini", which the setup writes afresh on every installation,
// and that folder if it is then empty.
void RemoveSettingsFile(platform::FileSystem& files, RemovalReport& report);

}  // namespace uninstall
