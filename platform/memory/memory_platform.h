#pragma once

#include "platform/memory/memory_file_system.h"
#include "platform/memory/memory_process_list.h"
#include "platform/memory/memory_registry.h"
#include "platform/memory/scripted_message_boxes.h"
#include "platform/platform.h"

namespace platform {

// A whole machine in memory for the tests: each piece can be set up and inspected through
// its own members, and Get() hands the logic the same objects behind the interfaces.
struct MemoryPlatform {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemoryProcessList processes;
  ScriptedMessageBoxes messages;

  Platform Get() { return Platform{registry, files, processes}; }

  // The machine as a 32-bit program on 64-bit Windows meets it: it runs under WOW64 and sees
  // HKEY_LOCAL_MACHINE\SOFTWARE's 32-bit view unless it asks for the 64-bit one.
  void RunAs32BitProgramOn64BitWindows() {
    processes.SetWow64Process(true);
    registry.SetWow64Process(true);
  }
};

}  // namespace platform
