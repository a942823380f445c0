#pragma once

#include "platform/file_system.h"
#include "platform/message_boxes.h"
#include "platform/process_list.h"
#include "platform/registry.h"

namespace platform {

// Everything of Windows the setup's logic talks to. The logic takes it by reference; the
// program hands it the Win32 versions, the tests the in-memory ones.
struct Platform {
  Registry& registry;
  FileSystem& files;
  ProcessList& processes;
  MessageBoxes& messages;
};

}  // namespace platform
