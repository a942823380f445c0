#pragma once

// The whole in-memory machine at one moment, and what changed between two moments: one
// sorted list of registry changes followed by the file changes, so a failure shows them all.

#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"

namespace test_support {

struct WholeState {
  platform::RegistrySnapshot registry;
  platform::FileTree files;
};

inline WholeState Take(const platform::MemoryPlatform& machine) {
  return {machine.registry.Snapshot(), machine.files.Snapshot()};
}

inline std::vector<std::string> Changes(const WholeState& before, const WholeState& after) {
  std::vector<std::string> lines =
      platform::DescribeRegistryChanges(before.registry, after.registry);
  const std::vector<std::string> files = platform::DescribeChanges(before.files, after.files);
  lines.insert(lines.end(), files.begin(), files.end());
  return lines;
}

}  // namespace test_support
