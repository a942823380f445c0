// Cost of the start-up registry scan per registry key, over in-memory registries of growing
// size and two shapes, and the registry calls it makes per key: a figure no machine's speed
// changes, and under Wine the one that counts, as every call is a round trip to the Wine
// server. BM_ScanAcadInstallations is the program's scan, which walks each release key once;
// BM_TwoSearchScan is the reference scan of the tests, which searches each release key
// twice (once per value), as the scan did before.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "bench/counting_registry.h"
#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "tests/discovery/two_search_scan.h"

namespace {

using platform::RegRoot;

void Put(platform::MemoryRegistry& registry, const std::string& path, const char* name,
         const std::string& text) {
  registry.SetString(RegRoot::LocalMachine, path, name, text);
}

// `keyCount` keys below the native branch: release keys of ten keys each, one product key
// with its two values and eight other keys holding unrelated values.
void FillProducts(platform::MemoryRegistry& registry, std::int64_t keyCount) {
  for (std::int64_t release = 0; release < keyCount / 10; ++release) {
    const std::string releaseKey = "SOFTWARE\\Autodesk\\AutoCAD\\R" + std::to_string(release);
    const std::string product = releaseKey + "\\ACAD-" + std::to_string(release) + ":804";
    Put(registry, product, "ProductName", "AutoCAD " + std::to_string(2007 + release % 19));
    Put(registry, product, "AcadLocation", "C:\\Program Files\\AutoCAD " + std::to_string(release));
    for (int other = 0; other < 8; ++other) {
      Put(registry, releaseKey + "\\Other" + std::to_string(other), "Setting", "value");
    }
  }
}

// `keyCount` keys left behind by uninstalled products, half below each branch, as the Wine
// start-up benchmark loads them (bench/win32/make-extra-keys.sh): release keys of 100 keys
// each, a product key that lost both its values, its Applications key and 97 registered
// applications. Nothing is found; every key is walked.
void FillLeftovers(platform::MemoryRegistry& registry, std::int64_t keyCount) {
  const char* branches[] = {"SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\",
                            "SOFTWARE\\Autodesk\\AutoCAD\\"};
  for (std::int64_t release = 0; release < keyCount / 100; ++release) {
    const std::string releaseKey = branches[release % 2] + ("R90." + std::to_string(release));
    const std::string product = releaseKey + "\\ACAD-" + std::to_string(9000 + release) + ":804";
    Put(registry, releaseKey, "CurVer", "ACAD-" + std::to_string(9000 + release) + ":804");
    Put(registry, product, "Language", "Simplified Chinese");
    registry.SetDword(RegRoot::LocalMachine, product, "LocaleId", 0x804);
    registry.CreateKeyPath(RegRoot::LocalMachine, product + "\\Applications");
    for (int application = 1; application <= 97; ++application) {
      const std::string key = product + "\\Applications\\Plugin" + std::to_string(application);
      Put(registry, key, "DESCRIPTION", "Plug-in " + std::to_string(application));
      registry.SetDword(RegRoot::LocalMachine, key, "LOADCTRLS", 2);
      Put(registry, key, "LOADER", "C:\\Program Files\\Vendor\\plugin.arx");
    }
  }
}

using Fill = void (*)(platform::MemoryRegistry&, std::int64_t);
using Scan = void (*)(platform::MemoryPlatform&, platform::Registry&);

void OneWalk(platform::MemoryPlatform& machine, platform::Registry& registry) {
  platform::Platform through = machine.Get();
  discovery::InstallationInventory inventory(
      platform::Platform{registry, through.files, through.processes});
  inventory.ScanAcadInstallations();
  benchmark::DoNotOptimize(inventory.acadLocations);
}

void TwoSearches(platform::MemoryPlatform& machine, platform::Registry& registry) {
  discovery::InstallationInventory inventory(machine.Get());
  discovery::reference::TwoSearchScan(registry, discovery::kMaxCollectKeys, inventory);
  benchmark::DoNotOptimize(inventory.acadLocations);
}

void RunScan(benchmark::State& state, Fill fill, Scan scan) {
  platform::MemoryPlatform machine;
  const std::int64_t keyCount = state.range(0);
  fill(machine.registry, keyCount);
  for (auto _ : state) {
    scan(machine, machine.registry);
  }
  // Once more, through the counter: the calls per key opened.
  bench::CountingRegistry counting(machine.registry);
  scan(machine, counting);
  const bench::RegistryCallCounts& calls = counting.Counts();
  const auto keys = static_cast<double>(counting.DistinctKeysOpened());
  state.counters["keys"] = keys;
  state.counters["calls_per_key"] = static_cast<double>(calls.Total()) / keys;
  state.counters["opens"] = static_cast<double>(calls.opens) / keys;
  state.counters["reads"] = static_cast<double>(calls.valueReads) / keys;
  state.counters["counts"] = static_cast<double>(calls.subKeyCounts) / keys;
  state.counters["names"] = static_cast<double>(calls.nameReads) / keys;
  state.counters["closes"] = static_cast<double>(calls.closes) / keys;
  if (scan != TwoSearches) {
    // Beside it, the reference over the same registry: its calls per key and the share of
    // them this scan makes.
    bench::CountingRegistry reference(machine.registry);
    TwoSearches(machine, reference);
    const double referencePerKey = static_cast<double>(reference.Counts().Total()) /
                                   static_cast<double>(reference.DistinctKeysOpened());
    state.counters["two_search_calls_per_key"] = referencePerKey;
    state.counters["share_of_two_search"] = state.counters["calls_per_key"] / referencePerKey;
  }
  state.counters["per_key"] =
      benchmark::Counter(static_cast<double>(keyCount),
                         benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_ScanAcadInstallations(benchmark::State& state, Fill fill) { RunScan(state, fill, OneWalk); }
void BM_TwoSearchScan(benchmark::State& state, Fill fill) { RunScan(state, fill, TwoSearches); }

BENCHMARK_CAPTURE(BM_ScanAcadInstallations, products, FillProducts)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TwoSearchScan, products, FillProducts)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ScanAcadInstallations, leftovers, FillLeftovers)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_TwoSearchScan, leftovers, FillLeftovers)
    ->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
