#include "platform/memory/memory_process_list.h"

#include "platform/file_system.h"

namespace platform {

bool MemoryProcessList::TakeSnapshot(ProcessSnapshot& snapshot) {
  snapshot.Close();
  if (failSnapshots_) return false;
  ++snapshotsTaken_;
  const std::uintptr_t handle = nextHandle_;
  nextHandle_ += 4;
  snapshots_.emplace(handle, Walk{running_, 0});
  snapshot = MakeSnapshot(handle);
  return true;
}

bool MemoryProcessList::Give(ProcessSnapshot& snapshot, bool fromStart, ProcessEntry& entry) {
  const auto open = snapshots_.find(snapshot.Value());
  if (snapshot.OwnerObject() != this || open == snapshots_.end()) return false;
  Walk& walk = open->second;
  if (fromStart) walk.next = 0;
  if (walk.next >= walk.names.size()) return false;
  const std::string& name = walk.names[walk.next++];
  // szExeFile is a MAX_PATH buffer: the name and its NUL must fit.
  entry.exeFile = name.substr(0, kMaxPath - 1);
  return true;
}

bool MemoryProcessList::First(ProcessSnapshot& snapshot, ProcessEntry& entry) {
  return Give(snapshot, true, entry);
}

// Like Process32Next, a walk that was never started begins at the first record.
bool MemoryProcessList::Next(ProcessSnapshot& snapshot, ProcessEntry& entry) {
  return Give(snapshot, false, entry);
}

}  // namespace platform
