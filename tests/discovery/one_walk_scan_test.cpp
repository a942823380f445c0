#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "discovery/installation_inventory.h"
#include "tests/discovery/two_search_scan.h"
#include "tests/fuzz/fuzz_support.h"
#include "tests/fuzz/random_acad_registry.h"

namespace discovery {
namespace {

// The scan walks each release key once for both values. Over random registries (any names,
// values of any size and type, denied keys, links that loop) it must give exactly what two
// separate searches give, the working area included. The budget is lowered, as in the fuzz
// target, so that the loops reach it and the budget's accounting is compared too.
TEST(OneWalkScan, AgreesWithTwoSeparateSearchesOnRandomRegistries) {
  constexpr int kRegistries = 400;
  constexpr std::size_t kBudget = 400;
  std::mt19937 random(20261208);
  int withInstallations = 0;
  int withProductNames = 0;
  for (int round = 0; round < kRegistries; ++round) {
    // Half the bytes small: they pick the first keys (the branches and release keys) as
    // parents and the two sought value names more often.
    std::vector<std::uint8_t> bytes(random() % 600);
    for (std::uint8_t& byte : bytes) {
      byte = static_cast<std::uint8_t>(random() % 2 == 0 ? random() : random() % 32);
    }
    fuzz::ByteReader input(bytes.data(), bytes.size());
    const fuzz::CodePageScope codePage(fuzz::CodePageFrom(input.Byte()));
    fuzz::acad_registry::Machine machine;
    fuzz::acad_registry::Build(machine, input);
    // Random bytes seldom put both values on one key: a few installations go onto keys of
    // the random tree, below loops and denied keys as they fall.
    for (std::uint32_t planted = random() % 4; planted > 0; --planted) {
      const std::string& key = machine.keys[random() % machine.keys.size()];
      const std::string year = std::to_string(2007 + random() % 19);
      machine.platform.registry.SetString(platform::RegRoot::LocalMachine, key, "ProductName",
                                          "AutoCAD " + year);
      machine.platform.registry.SetString(platform::RegRoot::LocalMachine, key, "AcadLocation",
                                          "C:\\AutoCAD " + year);
    }

    InstallationInventory oneWalk(machine.platform.Get());
    oneWalk.maxCollectKeys = kBudget;
    oneWalk.ScanAcadInstallations();
    InstallationInventory twoSearches(machine.platform.Get());
    reference::TwoSearchScan(machine.platform.registry, kBudget, twoSearches);

    ASSERT_EQ(oneWalk.acadLocations, twoSearches.acadLocations) << "registry " << round;
    ASSERT_EQ(oneWalk.productKeyPaths, twoSearches.productKeyPaths) << "registry " << round;
    ASSERT_EQ(oneWalk.valueName, twoSearches.valueName) << "registry " << round;
    ASSERT_EQ(oneWalk.foundKeyPaths, twoSearches.foundKeyPaths) << "registry " << round;
    ASSERT_EQ(oneWalk.foundValues, twoSearches.foundValues) << "registry " << round;
    for (const TextList& locations : oneWalk.acadLocations) {
      if (!locations.empty()) {
        ++withInstallations;
        break;
      }
    }
    withProductNames += oneWalk.foundKeyPaths.empty() ? 0 : 1;
  }
  // The comparison means something only where the registries hold what the scan looks for.
  EXPECT_GT(withInstallations, kRegistries / 10);
  EXPECT_GT(withProductNames, kRegistries / 10);
}

}  // namespace
}  // namespace discovery
