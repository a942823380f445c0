#pragma once

#include <string>

#include "platform/file_system.h"

namespace platform {

// The running program's own file, as GetModuleFileNameA names it, and the folder that holds
// it (no trailing backslash). False when the path is unknown, longer than kMaxPath characters
// (a cut path would name some other file) or holds no folder; the result is then left empty.
bool OwnProgramFile(FileSystem& files, std::string& file);
bool OwnProgramFolder(FileSystem& files, std::string& folder);

}  // namespace platform
