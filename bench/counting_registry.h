#pragma once

// A Registry that counts the calls made through it and the distinct keys opened, over another
// registry that does the work: the scan's registry calls per key, a figure no machine's speed
// changes. Under Wine every one of these calls is a round trip to the Wine server.

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>

#include "platform/registry.h"

namespace bench {

struct RegistryCallCounts {
  std::size_t opens = 0;  // OpenKey and OpenKeyEx, failed ones included
  std::size_t valueReads = 0;
  std::size_t subKeyCounts = 0;  // QueryKeyInfo, which answers the sub-key count
  std::size_t nameReads = 0;
  std::size_t closes = 0;
  std::size_t Total() const { return opens + valueReads + subKeyCounts + nameReads + closes; }
};

class CountingRegistry final : public platform::Registry {
 public:
  explicit CountingRegistry(platform::Registry& inner) : inner_(inner) {}

  const RegistryCallCounts& Counts() const { return counts_; }
  // Keys opened at least once, told apart by their paths (names as enumerated).
  std::size_t DistinctKeysOpened() const { return keysOpened_.size(); }

  long OpenKey(platform::KeyRef parent, const char* subKey, platform::RegKey& key) override {
    ++counts_.opens;
    platform::RegKey innerKey;
    return Opened(parent, subKey, inner_.OpenKey(Inner(parent), subKey, innerKey), innerKey, key);
  }
  long OpenKeyEx(platform::KeyRef parent, const char* subKey, std::uint32_t access,
                 platform::RegKey& key) override {
    ++counts_.opens;
    platform::RegKey innerKey;
    return Opened(parent, subKey, inner_.OpenKeyEx(Inner(parent), subKey, access, innerKey),
                  innerKey, key);
  }
  long CreateKey(platform::KeyRef parent, const char* subKey, platform::RegKey& key) override {
    platform::RegKey innerKey;
    return Opened(parent, subKey, inner_.CreateKey(Inner(parent), subKey, innerKey), innerKey,
                  key);
  }
  long DeleteKey(platform::KeyRef parent, const char* subKey) override {
    return inner_.DeleteKey(Inner(parent), subKey);
  }
  // The one query that answers the sub-key count and the value figures together.
  long QueryKeyInfo(platform::KeyRef key, platform::KeyInfo& info) override {
    ++counts_.subKeyCounts;
    return inner_.QueryKeyInfo(Inner(key), info);
  }
  long EnumKey(platform::KeyRef key, std::uint32_t index, char* name,
               std::uint32_t& nameLength) override {
    ++counts_.nameReads;
    return inner_.EnumKey(Inner(key), index, name, nameLength);
  }
  long QueryValue(platform::KeyRef key, const char* valueName, std::uint32_t* type,
                  unsigned char* data, std::uint32_t* dataSize) override {
    ++counts_.valueReads;
    return inner_.QueryValue(Inner(key), valueName, type, data, dataSize);
  }
  long SetValue(platform::KeyRef key, const char* valueName, std::uint32_t type,
                const unsigned char* data, std::uint32_t dataSize) override {
    return inner_.SetValue(Inner(key), valueName, type, data, dataSize);
  }
  long QueryValueWide(platform::KeyRef key, const char* valueName, std::uint32_t* type,
                      unsigned char* data, std::uint32_t* dataSize) override {
    ++counts_.valueReads;
    return inner_.QueryValueWide(Inner(key), valueName, type, data, dataSize);
  }
  long SetValueWide(platform::KeyRef key, const char* valueName, std::uint32_t type,
                    const unsigned char* data, std::uint32_t dataSize) override {
    return inner_.SetValueWide(Inner(key), valueName, type, data, dataSize);
  }
  long DeleteValue(platform::KeyRef key, const char* valueName) override {
    return inner_.DeleteValue(Inner(key), valueName);
  }

 private:
  struct OpenKeyState {
    platform::RegKey inner;
    std::string path;
  };

  void ReleaseHandle(std::uintptr_t handle) override {
    ++counts_.closes;
    open_.erase(handle);
  }

  platform::KeyRef Inner(platform::KeyRef ref) const {
    if (ref.IsRoot()) return ref;
    const auto found = open_.find(ref.Handle());
    // A handle this registry never gave out is passed on as it is, to fail there.
    return found != open_.end() ? platform::KeyRef(found->second.inner) : ref;
  }

  std::string PathOf(platform::KeyRef ref) const {
    if (ref.IsRoot()) return ref.Root() == platform::RegRoot::LocalMachine ? "HKLM" : "HKCU";
    const auto found = open_.find(ref.Handle());
    return found != open_.end() ? found->second.path : "?";
  }

  long Opened(platform::KeyRef parent, const char* subKey, long result,
              platform::RegKey& innerKey, platform::RegKey& key) {
    key = platform::RegKey();
    if (result != platform::reg::kSuccess) return result;
    std::string path = PathOf(parent);
    if (subKey != nullptr && *subKey != '\0') path += std::string("\\") + subKey;
    const std::uintptr_t handle = innerKey.Value();
    keysOpened_.insert(path);
    open_[handle] = OpenKeyState{std::move(innerKey), std::move(path)};
    key = MakeKey(handle);
    return result;
  }

  platform::Registry& inner_;
  RegistryCallCounts counts_;
  std::unordered_map<std::uintptr_t, OpenKeyState> open_;
  std::set<std::string> keysOpened_;
};

}  // namespace bench
