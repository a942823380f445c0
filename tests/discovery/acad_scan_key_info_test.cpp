#include <gtest/gtest.h>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "tests/discovery/registry_builder.h"

namespace discovery {
namespace {

using platform::KeyRef;
using platform::RegKey;
using platform::RegRoot;

// Over the in-memory registry: logs every value read as "key path|value name" (the path as
// opened, from HKLM) and fails the key-info query at the keys whose path is listed.
class ReadLogRegistry final : public platform::Registry {
 public:
  explicit ReadLogRegistry(platform::Registry& inner) : inner_(inner) {}

  std::vector<std::string> reads;
  std::vector<std::string> infoFailsAt;

  long OpenKey(KeyRef parent, const char* subKey, RegKey& key) override {
    RegKey innerKey;
    return Opened(parent, subKey, inner_.OpenKey(Inner(parent), subKey, innerKey), innerKey, key);
  }
  long OpenKeyEx(KeyRef parent, const char* subKey, std::uint32_t access, RegKey& key) override {
    RegKey innerKey;
    return Opened(parent, subKey, inner_.OpenKeyEx(Inner(parent), subKey, access, innerKey),
                  innerKey, key);
  }
  long CreateKey(KeyRef, const char*, RegKey&) override { return platform::reg::kAccessDenied; }
  long DeleteKey(KeyRef, const char*) override { return platform::reg::kAccessDenied; }
  long QueryKeyInfo(KeyRef key, platform::KeyInfo& info) override {
    for (const std::string& path : infoFailsAt) {
      if (PathOf(key) == path) return platform::reg::kAccessDenied;
    }
    return inner_.QueryKeyInfo(Inner(key), info);
  }
  long EnumKey(KeyRef key, std::uint32_t index, char* name, std::uint32_t& nameLength) override {
    return inner_.EnumKey(Inner(key), index, name, nameLength);
  }
  long QueryValue(KeyRef key, const char* valueName, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* dataSize) override {
    Log(key, valueName);
    return inner_.QueryValue(Inner(key), valueName, type, data, dataSize);
  }
  long SetValue(KeyRef, const char*, std::uint32_t, const unsigned char*, std::uint32_t) override {
    return platform::reg::kAccessDenied;
  }
  long QueryValueWide(KeyRef key, const char* valueName, std::uint32_t* type,
                      unsigned char* data, std::uint32_t* dataSize) override {
    Log(key, valueName);
    return inner_.QueryValueWide(Inner(key), valueName, type, data, dataSize);
  }
  long SetValueWide(KeyRef, const char*, std::uint32_t, const unsigned char*,
                    std::uint32_t) override {
    return platform::reg::kAccessDenied;
  }
  // Refused like every write: the scan writes nothing.
  long DeleteValue(KeyRef, const char*) override { return platform::reg::kAccessDenied; }

 private:
  struct Open {
    RegKey inner;
    std::string path;
  };

  void ReleaseHandle(std::uintptr_t handle) override { open_.erase(handle); }

  void Log(KeyRef key, const char* valueName) {
    std::string entry = PathOf(key);
    entry += '|';
    entry.append(valueName);
    reads.push_back(std::move(entry));
  }

  KeyRef Inner(KeyRef ref) const {
    if (ref.IsRoot()) return ref;
    const auto found = open_.find(ref.Handle());
    return found != open_.end() ? KeyRef(found->second.inner) : ref;
  }
  std::string PathOf(KeyRef ref) const {
    if (ref.IsRoot()) return "";
    const auto found = open_.find(ref.Handle());
    return found != open_.end() ? found->second.path : "?";
  }
  long Opened(KeyRef parent, const char* subKey, long result, RegKey& innerKey, RegKey& key) {
    key = RegKey();
    if (result != platform::reg::kSuccess) return result;
    std::string path = PathOf(parent);
    if (subKey != nullptr && *subKey != '\0') {
      if (!path.empty()) path += '\\';
      path.append(subKey);
    }
    const std::uintptr_t handle = innerKey.Value();
    open_[handle] = Open{std::move(innerKey), std::move(path)};
    key = MakeKey(handle);
    return result;
  }

  platform::Registry& inner_;
  std::unordered_map<std::uintptr_t, Open> open_;
};

constexpr std::size_t k2010 = 3;
const std::string kRelease = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0";

class AcadScanKeyInfo : public ::testing::Test {
 protected:
  void Scan() {
    platform::Platform through = machine.Get();
    InstallationInventory inventory(
        platform::Platform{logged, through.files, through.processes});
    inventory.ScanAcadInstallations();
    locations = inventory.acadLocations[k2010];
  }

  platform::MemoryPlatform machine;
  ReadLogRegistry logged{machine.registry};
  TextList locations;
};

// A value is asked for only where the key has values and one name at least as long as the
// value's: "AcadLocation" is 12 characters, "ProductName" 11. Names are measured in characters,
// as the registry measures them: the six Chinese characters below are 12 bytes, yet too short.
TEST_F(AcadScanKeyInfo, ValuesAreReadOnlyAtKeysWhoseNamesAreLongEnough) {
  testing::PutKey(machine.registry, RegRoot::LocalMachine, kRelease + "\\NoValues");
  testing::PutString(machine.registry, RegRoot::LocalMachine, kRelease + "\\Short", "Setting", "v");
  testing::PutString(machine.registry, RegRoot::LocalMachine, kRelease + "\\Eleven",
                     "DESCRIPTION", "v");
  testing::PutString(machine.registry, RegRoot::LocalMachine, kRelease + "\\Wide",
                     "批打印软件名", "v");
  testing::PutProduct(machine.registry, "R18.0\\P", "AutoCAD 2010", "C:\\Found");
  Scan();
  EXPECT_EQ(locations, TextList{"C:\\Found"});
  EXPECT_EQ(logged.reads, (std::vector<std::string>{kRelease + "\\Eleven|ProductName",
                                                    kRelease + "\\P|AcadLocation",
                                                    kRelease + "\\P|ProductName"}));
}

// Where the key cannot be asked about, both values are still read there; with its sub-keys
// unknown, nothing below it is visited.
TEST_F(AcadScanKeyInfo, WithoutTheKeyInfoEverySoughtValueIsRead) {
  const std::string other = "SOFTWARE\\Autodesk\\AutoCAD\\R18.1";
  testing::PutProduct(machine.registry, "R18.0", "AutoCAD 2010", "C:\\OnTheReleaseKey");
  testing::PutProduct(machine.registry, "R18.1\\P", "AutoCAD 2010", "C:\\Below");
  logged.infoFailsAt = {kRelease, other};
  Scan();
  EXPECT_EQ(locations, TextList{"C:\\OnTheReleaseKey"});
  EXPECT_EQ(logged.reads,
            (std::vector<std::string>{kRelease + "|AcadLocation", kRelease + "|ProductName",
                                      other + "|AcadLocation", other + "|ProductName"}));
}

}  // namespace
}  // namespace discovery
