#pragma once

#include "platform/file_system.h"
#include "platform/process_list.h"
#include "platform/registry.h"

namespace platform {

// Everything of Windows the setup's logic talks to. The logic takes it by reference; the
// program hands it the Win32 versions, the tests the in-memory ones. Message boxes are not
// part of it: only the programs with a window ask and tell through them (a console program
// runs the same logic), so the code that shows a box takes platform::MessageBoxes on its own.
struct Platform {
  Registry& registry;
  FileSystem& files;
  ProcessList& processes;
};

}  // namespace platform
