#pragma once

#include "platform/process_list.h"

namespace install {

// True while some running process's executable name contains "acad.exe" (letter case aside).
// Without a process list AutoCAD counts as not running.
bool IsAutoCADRunning(platform::ProcessList& processes);

}  // namespace install
