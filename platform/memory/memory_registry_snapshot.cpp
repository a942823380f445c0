#include "platform/memory/memory_registry_snapshot.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <ostream>

#include "platform/ansi_text.h"
#include "platform/memory/memory_registry_key.h"

namespace platform {
namespace {

void AddKeyAndBelow(const registry_tree::Key& key, RegistrySnapshot& snapshot) {
  RegistrySnapshot::Key& entry = snapshot.keys.emplace_back();
  entry.root = key.root;
  entry.path = key.Path();
  if (key.link) {
    entry.linkTarget = std::string(RootName(key.link->root)) + '\\' + key.link->path;
  }
  for (const auto& [name, value] : key.values) {
    entry.values.push_back({name, value.type, value.data});
  }
  // A link is recorded, never followed: the tree below it is the target's.
  for (const registry_tree::Key* subKey : key.SubKeysInOrder()) {
    AddKeyAndBelow(*subKey, snapshot);
  }
}

std::string DisplayPath(const RegistrySnapshot::Key& key) {
  std::string text = RootName(key.root);
  if (!key.path.empty()) text += '\\' + key.path;
  return text;
}

std::string Identity(const RegistrySnapshot::Key& key) {
  return std::string(RootName(key.root)) + '\\' + ansi::ToUpper(key.path);
}

using KeysByIdentity = std::map<std::string, const RegistrySnapshot::Key*>;
using ValuesByIdentity = std::map<std::string, const RegistrySnapshot::Value*>;

KeysByIdentity IndexKeys(const RegistrySnapshot& snapshot) {
  KeysByIdentity index;
  for (const RegistrySnapshot::Key& key : snapshot.keys) index.emplace(Identity(key), &key);
  return index;
}

ValuesByIdentity IndexValues(const RegistrySnapshot::Key& key) {
  ValuesByIdentity index;
  for (const RegistrySnapshot::Value& value : key.values) {
    index.emplace(ansi::ToUpper(value.name), &value);
  }
  return index;
}

void DescribeValueChanges(const RegistrySnapshot::Key* before, const RegistrySnapshot::Key* after,
                          std::vector<std::string>& lines) {
  static const RegistrySnapshot::Key kNoKey;
  const ValuesByIdentity old = IndexValues(before != nullptr ? *before : kNoKey);
  const ValuesByIdentity now = IndexValues(after != nullptr ? *after : kNoKey);
  const std::string path = DisplayPath(after != nullptr ? *after : *before);
  for (const auto& [identity, value] : old) {
    const auto found = now.find(identity);
    if (found == now.end()) {
      lines.push_back("- value " + path + " [" + value->name + "]");
    } else if (found->second->type != value->type || found->second->data != value->data) {
      lines.push_back("~ value " + path + " [" + found->second->name + "]");
    }
  }
  for (const auto& [identity, value] : now) {
    if (old.find(identity) == old.end()) {
      lines.push_back("+ value " + path + " [" + value->name + "]");
    }
  }
}

void PrintData(const RegistrySnapshot::Value& value, std::ostream& out) {
  if (value.type == reg::kTypeDword && value.data.size() == 4) {
    std::uint32_t number = 0;
    for (int i = 3; i >= 0; --i) {
      number = number << 8 | static_cast<unsigned char>(value.data[static_cast<std::size_t>(i)]);
    }
    out << number;
    return;
  }
  out << '"';
  for (const char c : value.data) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F && c != '\\') {
      out << c;
    } else {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      out << escaped;
    }
  }
  out << '"';
}

}  // namespace

const char* RootName(RegRoot root) { return root == RegRoot::LocalMachine ? "HKLM" : "HKCU"; }

RegistrySnapshot TakeRegistrySnapshot(const registry_tree::Key& localMachine,
                                      const registry_tree::Key& currentUser) {
  RegistrySnapshot snapshot;
  AddKeyAndBelow(localMachine, snapshot);
  AddKeyAndBelow(currentUser, snapshot);
  return snapshot;
}

std::vector<std::string> DescribeRegistryChanges(const RegistrySnapshot& before,
                                                 const RegistrySnapshot& after) {
  const KeysByIdentity old = IndexKeys(before);
  const KeysByIdentity now = IndexKeys(after);
  std::vector<std::string> lines;
  for (const auto& [identity, key] : old) {
    const auto found = now.find(identity);
    if (found == now.end()) {
      lines.push_back("- key " + DisplayPath(*key));
      DescribeValueChanges(key, nullptr, lines);
      continue;
    }
    if (found->second->linkTarget != key->linkTarget) {
      lines.push_back("~ link " + DisplayPath(*found->second));
    }
    DescribeValueChanges(key, found->second, lines);
  }
  for (const auto& [identity, key] : now) {
    if (old.find(identity) == old.end()) {
      lines.push_back("+ key " + DisplayPath(*key));
      DescribeValueChanges(nullptr, key, lines);
    }
  }
  std::sort(lines.begin(), lines.end());
  return lines;
}

void PrintTo(const RegistrySnapshot& snapshot, std::ostream* out) {
  for (const RegistrySnapshot::Key& key : snapshot.keys) {
    *out << '\n' << DisplayPath(key);
    if (!key.linkTarget.empty()) *out << " -> " << key.linkTarget;
    for (const RegistrySnapshot::Value& value : key.values) {
      *out << "\n  [" << value.name << "] type " << value.type << ": ";
      PrintData(value, *out);
    }
  }
}

}  // namespace platform
