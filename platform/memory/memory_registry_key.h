#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/memory/memory_registry_access.h"
#include "platform/registry.h"

// The tree the in-memory registry keeps: its keys and their values.
namespace platform::registry_tree {

// Key and value names compare without regard to case, in the order the registry lists
// them. The order follows the active code page, which is set once at start.
struct NameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return ansi::CompareNoCase(a, b) < 0;
  }
};

// A value as stored: its type number and its bytes (UTF-16LE for a string type).
struct Value {
  std::uint32_t type = reg::kTypeNone;
  std::string data;
  friend bool operator==(const Value&, const Value&) = default;
};

// Where a link key leads: a path from a root, looked up each time the link is followed.
struct LinkTarget {
  RegRoot root = RegRoot::LocalMachine;
  std::string path;
};

// One key. Keys are shared with the handles open on them, so a handle outlives the
// deletion of its key and can then answer ERROR_KEY_DELETED.
struct Key {
  Key(std::string keyName, RegRoot keyRoot, Key* parentKey)
      : name(std::move(keyName)), root(keyRoot), parent(parentKey) {}

  std::string name;  // in the case it was created with
  RegRoot root;
  Key* parent;  // null for a root, and once the key is deleted
  bool deleted = false;
  registry_access::KeyPermissions permissions;
  // Denials that sub-keys created later take over, as an inherited access control list.
  registry_access::KeyPermissions inheritedPermissions;
  std::optional<LinkTarget> link;
  std::map<std::string, std::shared_ptr<Key>, NameLess> subKeys;
  std::map<std::string, Value, NameLess> values;

  // The path from the root, names joined with single backslashes ("" for a root).
  std::string Path() const {
    if (parent == nullptr) return {};
    std::string parentPath = parent->Path();
    return parentPath.empty() ? name : parentPath + '\\' + name;
  }

  // The sub-keys by enumeration index. Kept beside the map and rebuilt on the first
  // enumeration after a change, so that listing n sub-keys costs O(n), not O(n^2).
  const std::vector<const Key*>& SubKeysInOrder() const {
    if (orderStale_) {
      order_.clear();
      order_.reserve(subKeys.size());
      for (const auto& entry : subKeys) order_.push_back(entry.second.get());
      orderStale_ = false;
    }
    return order_;
  }
  void SubKeysChanged() { orderStale_ = true; }

 private:
  mutable std::vector<const Key*> order_;
  mutable bool orderStale_ = true;
};

}  // namespace platform::registry_tree
