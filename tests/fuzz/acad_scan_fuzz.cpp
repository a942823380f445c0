// The start-up scan over a random machine registry (tests/fuzz/random_acad_registry.h): keys
// with any names at any depth, values of any size and type, keys that deny reading, links that
// loop. The scan must end, close every handle it opened, keep its two lists parallel, file an
// installation only where one key holds both values and its ProductName names the release it
// is filed under, give the same answer when run again, and give exactly what two separate
// searches for the two values give (tests/discovery/two_search_scan.h), working area included.
//
// The key budget is lowered to keep looping inputs quick.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "tests/discovery/two_search_scan.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/random_acad_registry.h"

namespace {

using discovery::kReleaseCount;
using discovery::kReleaseTable;
using fuzz::acad_registry::kNativeBranch;
using fuzz::acad_registry::kWowBranch;
using fuzz::acad_registry::Machine;
using platform::RegRoot;

constexpr std::size_t kWowRows = 3;  // the releases the Wow6432Node branch is searched for
constexpr std::size_t kValueBufferSize = 256;
// The key budget, lowered from the program's so that a looping registry costs milliseconds,
// not seconds, per input; the budget rule itself is the program's.
constexpr std::size_t kFuzzCollectKeys = 2000;
// Filed entries per release that are read back from the registry (see CheckFiled).
constexpr std::size_t kFullChecks = 32;

// A value's text as the scan reads it: absent when it does not fit the buffer, and up to
// its first NUL.
bool ReadAsScan(const platform::MemoryRegistry& registry, std::string_view keyPath,
                std::string_view valueName, std::string& text) {
  const auto value = registry.ReadValue(RegRoot::LocalMachine, keyPath, valueName);
  if (!value || value->data.size() > kValueBufferSize) return false;
  text = value->data.substr(0, value->data.find('\0'));
  return true;
}

// Whether the year text of `row` stands in the name at a character boundary other than its
// start: every boundary is tried in turn.
bool NamesRelease(std::string_view productName, std::size_t row) {
  const std::string_view year = kReleaseTable[row].yearText;
  if (productName.empty()) return false;
  for (std::size_t at = ansi::CharLengthAt(productName, 0); at < productName.size();
       at += ansi::CharLengthAt(productName, at)) {
    if (productName.substr(at, year.size()) == year) return true;
  }
  return false;
}

void CheckFiled(const Machine& machine, const discovery::InstallationInventory& inventory) {
  const platform::MemoryRegistry& registry = machine.platform.registry;
  for (std::size_t row = 0; row < kReleaseCount; ++row) {
    const auto& paths = inventory.productKeyPaths[row];
    const auto& locations = inventory.acadLocations[row];
    FUZZ_CHECK(paths.size() == locations.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const std::string& path = paths[i];
      FUZZ_CHECK(ansi::EndsWithBackslash(path));
      const bool wow = path.starts_with(std::string(kWowBranch) + '\\');
      FUZZ_CHECK(wow || path.starts_with(std::string(kNativeBranch) + '\\'));
      const std::size_t rows = wow ? kWowRows : kReleaseCount;
      FUZZ_CHECK(row < rows);
      // A loop files the keys below it once per level, hundreds of paths 512 names deep, and
      // each is read back through every link on it. Of a long list only the first and the
      // last (the deepest and the shallowest) are read back.
      if (i >= kFullChecks / 2 && i + kFullChecks / 2 < paths.size()) continue;

      const std::string keyPath = path.substr(0, path.size() - 1);
      std::string productName;
      std::string location;
      FUZZ_CHECK(ReadAsScan(registry, keyPath, "ProductName", productName));
      FUZZ_CHECK(ReadAsScan(registry, keyPath, "AcadLocation", location));
      FUZZ_CHECK(location == locations[i]);
      // Filed under the first release whose year the name holds.
      FUZZ_CHECK(NamesRelease(productName, row));
      for (std::size_t earlier = 0; earlier < row; ++earlier) {
        FUZZ_CHECK(!NamesRelease(productName, earlier));
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(data, size);
  const fuzz::CodePageScope codePage(fuzz::CodePageFrom(input.Byte()));
  Machine machine;
  fuzz::acad_registry::Build(machine, input);
  const platform::RegistrySnapshot before = machine.platform.registry.Snapshot();
  FUZZ_CHECK(machine.platform.registry.OpenHandleCount() == 0);

  discovery::InstallationInventory first(machine.platform.Get());
  first.maxCollectKeys = kFuzzCollectKeys;
  first.ScanAcadInstallations();
  FUZZ_CHECK(machine.platform.registry.OpenHandleCount() == 0);
  FUZZ_CHECK(machine.platform.registry.WriteCount() == 0);
  FUZZ_CHECK(machine.platform.registry.Snapshot() == before);
  CheckFiled(machine, first);

  discovery::InstallationInventory second(machine.platform.Get());
  second.maxCollectKeys = kFuzzCollectKeys;
  second.ScanAcadInstallations();
  FUZZ_CHECK(second.acadLocations == first.acadLocations);
  FUZZ_CHECK(second.productKeyPaths == first.productKeyPaths);

  discovery::InstallationInventory reference(machine.platform.Get());
  discovery::reference::TwoSearchScan(machine.platform.registry, kFuzzCollectKeys, reference);
  FUZZ_CHECK(first.acadLocations == reference.acadLocations);
  FUZZ_CHECK(first.productKeyPaths == reference.productKeyPaths);
  FUZZ_CHECK(first.valueName == reference.valueName);
  FUZZ_CHECK(first.foundKeyPaths == reference.foundKeyPaths);
  FUZZ_CHECK(first.foundValues == reference.foundValues);
  return 0;
}
