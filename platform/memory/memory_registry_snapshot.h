#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace platform {

namespace registry_tree {
struct Key;
}

// The whole content of an in-memory registry at one moment: every key of both roots, each
// with its values, in a fixed order (HKEY_LOCAL_MACHINE first, each root depth first in
// enumeration order, values by name), so that two snapshots compare with ==.
struct RegistrySnapshot {
  struct Value {
    std::string name;
    std::uint32_t type = 0;
    std::string data;
    friend bool operator==(const Value&, const Value&) = default;
  };
  struct Key {
    RegRoot root = RegRoot::LocalMachine;
    std::string path;        // from the root; "" for the root itself
    std::string linkTarget;  // "HKLM\..." for a link key, which has no values of its own
    std::vector<Value> values;
    friend bool operator==(const Key&, const Key&) = default;
  };
  std::vector<Key> keys;
  friend bool operator==(const RegistrySnapshot&, const RegistrySnapshot&) = default;
};

RegistrySnapshot TakeRegistrySnapshot(const registry_tree::Key& localMachine,
                                      const registry_tree::Key& currentUser);

// What changed from `before` to `after`, one sorted line per change, names compared without
// regard to case:
//   "+ key HKLM\A\B"        "- key HKCU\X"
//   "+ value HKLM\A [Name]" "- value HKLM\A [Name]" "~ value HKLM\A [Name]"  ("[]": default)
//   "~ link HKLM\A\L"
std::vector<std::string> DescribeRegistryChanges(const RegistrySnapshot& before,
                                                 const RegistrySnapshot& after);

// "HKLM" or "HKCU".
const char* RootName(RegRoot root);

// How GoogleTest shows a snapshot when two differ: one line per key and per value.
void PrintTo(const RegistrySnapshot& snapshot, std::ostream* out);

}  // namespace platform
