#pragma once

#include "platform/platform.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_process_list.h"
#include "platform/win32/win32_registry.h"

namespace platform {

// The real machine: what the program hands its logic.
struct Win32Platform {
  Win32Registry registry;
  Win32FileSystem files;
  Win32ProcessList processes;
  Win32MessageBoxes messages;

  Platform Get() { return Platform{registry, files, processes}; }
};

}  // namespace platform
