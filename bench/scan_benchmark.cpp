// Cost of the start-up registry scan per registry key, over in-memory registries of growing
// size. The scan visits every key below the AutoCAD branches once, so the cost per key must
// stay flat as the registry grows.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"

namespace {

using platform::RegRoot;

void Put(platform::Registry& registry, const std::string& path, const char* name,
         const std::string& text) {
  platform::RegKey key;
  registry.CreateKey(RegRoot::LocalMachine, path.c_str(), key);
  registry.SetValue(key, name, platform::reg::kTypeSz,
                    reinterpret_cast<const unsigned char*>(text.c_str()),
                    static_cast<std::uint32_t>(text.size() + 1));
}

// `keyCount` keys below the native branch: release keys of ten keys each, one product key
// with its two values and eight other keys holding unrelated values.
void FillRegistry(platform::Registry& registry, std::int64_t keyCount) {
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

void BM_ScanAcadInstallations(benchmark::State& state) {
  platform::MemoryPlatform machine;
  const std::int64_t keyCount = state.range(0);
  FillRegistry(machine.registry, keyCount);
  for (auto _ : state) {
    discovery::InstallationInventory inventory(machine.Get());
    inventory.ScanAcadInstallations();
    benchmark::DoNotOptimize(inventory.acadLocations);
  }
  state.counters["keys"] = static_cast<double>(keyCount);
  state.counters["per_key"] = benchmark::Counter(
      static_cast<double>(keyCount), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_ScanAcadInstallations)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
