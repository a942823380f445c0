// Cost of adding the product folder to TRUSTEDPATHS of every AutoCAD profile of the user, over
// in-memory registries with 10, 100 and 1000 profiles. The update visits every product of every
// release key and rewrites one value per profile, so its cost per profile must stay flat.
//
// Two cases: a first installation, where every profile's value is restored to what AutoCAD
// left there before each run (restoring is not timed), and an installation over an earlier
// one, where the folder is already present in every profile.

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "registration/trusted_paths.h"

namespace {

using platform::RegRoot;

constexpr const char* kInstallFolder = "C:\\Program Files\\Zelvar\\Zelvar批打印软件";
// As many profiles as AutoCAD gives a product that its user has customised a little.
constexpr int kProfilesPerProduct = 5;
constexpr int kProductsPerRelease = 2;

// What AutoCAD and other programs leave in TRUSTEDPATHS, cycled through the profiles: nothing
// trusted yet, one folder, a list with Chinese folder names, and the product folder already
// there from an earlier installation in another letter case.
const std::vector<std::string> kTrustedPathsSeen{
    "",
    "D:\\Tools\\Lisp",
    "C:\\Program Files\\Autodesk\\ApplicationPlugins\\...;D:\\Tools\\Lisp;"
    "E:\\设计院\\标准图库\\LISP;C:\\Users\\张工\\AppData\\Roaming\\插件",
    "c:\\program files\\zelvar\\zelvar批打印软件",
};

struct Profile {
  std::string variablesKey;
  // Index into kTrustedPathsSeen.
  std::size_t seen = 0;
};

std::string VariablesKey(int product, int profile) {
  const int release = product / kProductsPerRelease;
  const std::string profileName =
      profile == 0 ? std::string("<<未命名配置>>") : "用户配置" + std::to_string(profile);
  return "SOFTWARE\\Autodesk\\AutoCAD\\R" + std::to_string(17 + release / 10) + "." +
         std::to_string(release % 10) + "\\ACAD-" + std::to_string(product) + "001:804" +
         "\\Profiles\\" + profileName + "\\Variables";
}

// `profileCount` profiles below HKEY_CURRENT_USER, each Variables key with the other
// variables AutoCAD keeps beside TRUSTEDPATHS.
std::vector<Profile> FillProfiles(platform::MemoryRegistry& registry, std::int64_t profileCount) {
  std::vector<Profile> profiles;
  for (std::int64_t index = 0; index < profileCount; ++index) {
    Profile profile;
    profile.variablesKey = VariablesKey(static_cast<int>(index / kProfilesPerProduct),
                                        static_cast<int>(index % kProfilesPerProduct));
    profile.seen = static_cast<std::size_t>(index) % kTrustedPathsSeen.size();
    registry.SetString(RegRoot::CurrentUser, profile.variablesKey, "ACADLSPASDOC", "0");
    registry.SetString(RegRoot::CurrentUser, profile.variablesKey, "SECURELOAD", "1");
    registry.SetString(RegRoot::CurrentUser, profile.variablesKey, "LOGFILEPATH",
                       "C:\\Users\\张工\\AppData\\Local\\Autodesk\\AutoCAD\\");
    registry.SetString(RegRoot::CurrentUser, profile.variablesKey, "TRUSTEDDOMAINS",
                       "*.autodesk.com;*.autodesk.com.cn");
    profiles.push_back(std::move(profile));
  }
  return profiles;
}

// Puts back what AutoCAD left in each profile before the setup ran.
void RestoreProfiles(platform::MemoryRegistry& registry, const std::vector<Profile>& profiles) {
  for (const Profile& profile : profiles) {
    registry.SetString(RegRoot::CurrentUser, profile.variablesKey, "TRUSTEDPATHS",
                       kTrustedPathsSeen[profile.seen]);
  }
}

// A run that wrote nothing would time an update that never happened: every profile must
// hold the folder afterwards, in whatever letter case the update chose.
void CheckEveryProfileTrusts(benchmark::State& state, const platform::MemoryRegistry& registry,
                             const std::vector<Profile>& profiles) {
  const std::string folder = ansi::ToUpper(kInstallFolder);
  for (const Profile& profile : profiles) {
    const auto value =
        registry.ReadString(RegRoot::CurrentUser, profile.variablesKey, "TRUSTEDPATHS");
    if (!value || ansi::FindText(ansi::ToUpper(*value), folder) == std::string::npos) {
      state.SkipWithError("a profile does not trust the product folder after the update");
      return;
    }
  }
}

void SetCounters(benchmark::State& state, std::int64_t profileCount) {
  state.counters["profiles"] = static_cast<double>(profileCount);
  state.counters["per_profile"] =
      benchmark::Counter(static_cast<double>(profileCount),
                         benchmark::Counter::kIsIterationInvariantRate |
                             benchmark::Counter::kInvert);
}

// Every profile as AutoCAD left it; the setup adds the folder where it is missing.
void BM_UpdateTrustedPathsFirstInstall(benchmark::State& state) {
  platform::MemoryPlatform machine;
  const std::vector<Profile> profiles = FillProfiles(machine.registry, state.range(0));
  discovery::InstallationInventory inventory(machine.Get());
  inventory.SetInstallFolder(kInstallFolder);
  for (auto _ : state) {
    state.PauseTiming();
    RestoreProfiles(machine.registry, profiles);
    state.ResumeTiming();
    registration::UpdateTrustedPaths(inventory, machine.registry);
  }
  CheckEveryProfileTrusts(state, machine.registry, profiles);
  SetCounters(state, state.range(0));
}

// The setup run a second time: every profile holds the folder already.
void BM_UpdateTrustedPathsAgain(benchmark::State& state) {
  platform::MemoryPlatform machine;
  const std::vector<Profile> profiles = FillProfiles(machine.registry, state.range(0));
  RestoreProfiles(machine.registry, profiles);
  discovery::InstallationInventory inventory(machine.Get());
  inventory.SetInstallFolder(kInstallFolder);
  registration::UpdateTrustedPaths(inventory, machine.registry);
  for (auto _ : state) {
    registration::UpdateTrustedPaths(inventory, machine.registry);
  }
  CheckEveryProfileTrusts(state, machine.registry, profiles);
  SetCounters(state, state.range(0));
}

BENCHMARK(BM_UpdateTrustedPathsFirstInstall)
    ->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdateTrustedPathsAgain)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
