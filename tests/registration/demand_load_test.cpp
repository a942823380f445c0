#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "registration/demand_load.h"

namespace registration {
namespace {

using platform::RegRoot;
namespace reg = platform::reg;

constexpr const char* kFolder = "C:\\Zelvar\\Zelvar批打印软件";

// Built with += : g++ 12 at -O3 warns falsely about "literal" + std::string chains.
std::string WithYear(const char* prefix, int year) {
  std::string text = prefix;
  text += std::to_string(year);
  return text;
}

class DemandLoad : public ::testing::Test {
 protected:
  void SetUp() override { inventory.installFolder = kFolder; }

  // A product key the scan found for a release, as the scan records it (with a backslash).
  std::string AddProduct(int releaseYear, const std::string& name) {
    const discovery::ReleaseRow* row = discovery::FindReleaseByYear(releaseYear);
    std::string path = "SOFTWARE\\Autodesk\\AutoCAD\\";
    path += name;
    EXPECT_TRUE(machine.registry.SetString(RegRoot::LocalMachine, path, "ProductName", "AutoCAD"));
    path += '\\';
    inventory.productKeyPaths[static_cast<std::size_t>(row->releaseIndex)].push_back(path);
    return path;
  }

  static discovery::ReleaseFlags Ticked(std::vector<int> years) {
    discovery::ReleaseFlags flags{};
    for (int year : years) flags[static_cast<std::size_t>(year - 2007)] = 1;
    return flags;
  }

  // True when everything was written machine-wide.
  bool Register(std::vector<int> years) {
    outcome = RegistrationOutcome{};
    RegisterSelectedReleases(inventory, machine.registry, Ticked(years), outcome);
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
    return outcome.EverythingMachineWide();
  }

  std::optional<std::string> Loader(const std::string& product, int year) const {
    return machine.registry.ReadString(RegRoot::LocalMachine, Key(product, year), "LOADER");
  }

  std::vector<std::string> ValueNames(const std::string& keyPath) const {
    std::vector<std::string> names;
    for (const auto& key : machine.registry.Snapshot().keys) {
      if (key.root != RegRoot::LocalMachine || key.path != keyPath) continue;
      for (const auto& value : key.values) names.push_back(value.name);
    }
    return names;
  }

  static std::string Key(const std::string& product, int year) {
    return product + "Applications\\ZV_BatchPlot" + std::to_string(year);
  }

  platform::MemoryPlatform machine;
  discovery::InstallationInventory inventory{machine.Get()};
  RegistrationOutcome outcome;
};

TEST_F(DemandLoad, ATickedReleaseGetsAKeyWithExactlyTheTwoValues) {
  const std::string product = AddProduct(2007, "R17.0\\ACAD-5001:804");
  EXPECT_TRUE(Register({2007}));

  const std::string key = Key(product, 2007);
  const auto controls = machine.registry.ReadValue(RegRoot::LocalMachine, key, "LOADCTRLS");
  ASSERT_TRUE(controls);
  EXPECT_EQ(controls->type, reg::kTypeDword);
  EXPECT_EQ(controls->data, std::string("\x02\0\0\0", 4));
  const auto loader = machine.registry.ReadValue(RegRoot::LocalMachine, key, "LOADER");
  ASSERT_TRUE(loader);
  EXPECT_EQ(loader->type, reg::kTypeSz);
  EXPECT_EQ(loader->data, std::string(kFolder) + "\\ZV_BatchPlot2008.ARX" + '\0');
  // The product folder's Chinese name goes in as code page 936 bytes (批 is C5 FA).
  EXPECT_NE(loader->data.find("\xC5\xFA"), std::string::npos);
  EXPECT_EQ(ValueNames(key), (std::vector<std::string>{"LOADCTRLS", "LOADER"}));
  EXPECT_TRUE(machine.registry.SubKeyNames(RegRoot::LocalMachine, key).empty());
}

TEST_F(DemandLoad, TheKeyIsNamedAfterTheReleaseAndLoadsTheModuleItShares) {
  const std::vector<std::pair<int, const char*>> releases{
      {2009, "ZV_BatchPlot2008.ARX"}, {2010, "ZV_BatchPlot2010.ARX"},
      {2012, "ZV_BatchPlot2010.ARX"}, {2016, "ZV_BatchPlot2015.ARX"},
      {2020, "ZV_BatchPlot2019.ARX"}, {2024, "ZV_BatchPlot2021.ARX"},
      {2025, "ZV_BatchPlot2025.ARX"}};
  std::vector<int> years;
  for (const auto& [year, module] : releases) {
    AddProduct(year, WithYear("R", year));
    years.push_back(year);
  }
  EXPECT_TRUE(Register(years));
  for (const auto& [year, module] : releases) {
    EXPECT_EQ(Loader(WithYear("SOFTWARE\\Autodesk\\AutoCAD\\R", year) + "\\", year),
              std::string(kFolder) + "\\" + module)
        << year;
  }
}

TEST_F(DemandLoad, OnlyTickedReleasesAreWrittenAndEveryProductKeyOfOneGetsTheSameKey) {
  const std::string first = AddProduct(2010, "R18.0\\ACAD-8001:804");
  const std::string second = AddProduct(2010, "R18.0\\ACAD-8002:409");
  const std::string unticked = AddProduct(2008, "R17.1\\ACAD-6001:804");
  EXPECT_TRUE(Register({2010, 2013}));  // 2013: ticked, but the scan found nothing
  EXPECT_EQ(Loader(first, 2010), std::string(kFolder) + "\\ZV_BatchPlot2010.ARX");
  EXPECT_EQ(Loader(second, 2010), std::string(kFolder) + "\\ZV_BatchPlot2010.ARX");
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::LocalMachine, unticked + "Applications"));
}

TEST_F(DemandLoad, WithNothingTickedOnlyTheProfilesAreUpdated) {
  AddProduct(2008, "R17.1\\ACAD-6001:804");
  const std::string variables =
      "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\P\\Variables";
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser, variables));
  EXPECT_TRUE(Register({}));
  EXPECT_EQ(machine.registry.ReadString(RegRoot::CurrentUser, variables, "TRUSTEDPATHS"), kFolder);
  EXPECT_EQ(machine.registry.WriteCount(), 1u) << "the one TRUSTEDPATHS value";
}

TEST_F(DemandLoad, AKeyFromAnEarlierInstallationLosesItsStaleValuesUnlessItHasSubKeys) {
  const std::string plain = AddProduct(2014, "R19.1\\ACAD-D001:804");
  const std::string withChild = AddProduct(2014, "R19.1\\ACAD-D002:804");
  for (const std::string& product : {plain, withChild}) {
    ASSERT_TRUE(machine.registry.SetString(RegRoot::LocalMachine, Key(product, 2014), "DESCRIPTION",
                                           "old"));
    ASSERT_TRUE(machine.registry.SetString(RegRoot::LocalMachine, Key(product, 2014), "LOADER",
                                           "D:\\Old\\ZV_BatchPlot2013.ARX"));
  }
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::LocalMachine, Key(withChild, 2014) + "\\Commands"));

  EXPECT_TRUE(Register({2014}));
  const std::string module = std::string(kFolder) + "\\ZV_BatchPlot2013.ARX";
  EXPECT_EQ(Loader(plain, 2014), module);
  EXPECT_EQ(ValueNames(Key(plain, 2014)), (std::vector<std::string>{"LOADCTRLS", "LOADER"}));
  EXPECT_EQ(Loader(withChild, 2014), module);
  EXPECT_EQ(machine.registry.ReadDword(RegRoot::LocalMachine, Key(withChild, 2014), "LOADCTRLS"), 2u);
  EXPECT_EQ(machine.registry.ReadString(RegRoot::LocalMachine, Key(withChild, 2014), "DESCRIPTION"),
            "old");
  EXPECT_TRUE(machine.registry.KeyExists(RegRoot::LocalMachine, Key(withChild, 2014) + "\\Commands"));
}

TEST_F(DemandLoad, WithoutAdministratorRightsNothingIsWrittenAndTheOutcomeSaysSo) {
  const std::string product = AddProduct(2008, "R17.1\\ACAD-6001:804");
  ASSERT_TRUE(machine.registry.DenyWriteTree(RegRoot::LocalMachine, ""));
  const std::string variables =
      "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\P\\Variables";
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser, variables));

  EXPECT_FALSE(Register({2008}));
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::LocalMachine, product + "Applications"));
  EXPECT_EQ(machine.registry.ReadString(RegRoot::CurrentUser, variables, "TRUSTEDPATHS"), kFolder)
      << "the user's own profiles are still trusted";
}

TEST_F(DemandLoad, AKeyThatSurvivesWithoutWriteRightsStillCountsAsFailed) {
  const std::string product = AddProduct(2008, "R17.1\\ACAD-6001:804");
  ASSERT_TRUE(machine.registry.SetString(RegRoot::LocalMachine, Key(product, 2008), "LOADER",
                                         "D:\\Old\\ZV_BatchPlot2008.ARX"));
  ASSERT_TRUE(machine.registry.DenyWriteTree(RegRoot::LocalMachine, ""));
  EXPECT_FALSE(Register({2008}));
  EXPECT_EQ(Loader(product, 2008), "D:\\Old\\ZV_BatchPlot2008.ARX");
}

TEST_F(DemandLoad, AnyFailedValueWriteMakesTheOutcomeFalseAndTheOtherKeysAreStillWritten) {
  const std::string failing = AddProduct(2011, "R18.1\\ACAD-9001:804");
  const std::string fine = AddProduct(2012, "R18.2\\ACAD-A001:804");
  machine.registry.SetWriteHook([&](const platform::RegistryWrite& write) -> long {
    const bool hit = write.valueName == "LOADER" && write.keyPath.find("R18.1") != std::string::npos;
    return hit ? reg::kAccessDenied : reg::kSuccess;
  });
  EXPECT_FALSE(Register({2011, 2012}));
  EXPECT_EQ(machine.registry.ReadDword(RegRoot::LocalMachine, Key(failing, 2011), "LOADCTRLS"), 2u);
  EXPECT_FALSE(Loader(failing, 2011));
  EXPECT_EQ(Loader(fine, 2012), std::string(kFolder) + "\\ZV_BatchPlot2010.ARX");
}

TEST_F(DemandLoad, AModulePathLongerThan259CharactersIsNeverWritten) {
  const std::string product = AddProduct(2008, "R17.1\\ACAD-6001:804");
  const std::string suffix = "\\ZV_BatchPlot2008.ARX";
  inventory.installFolder = "C:\\" + std::string(259 - suffix.size() - 3, 'f');
  EXPECT_TRUE(Register({2008})) << "259 characters fit";
  EXPECT_EQ(Loader(product, 2008)->size(), 259u);

  ASSERT_TRUE(machine.registry.DeleteKey(platform::RegRoot::LocalMachine,
                                         Key(product, 2008).c_str()) == reg::kSuccess);
  inventory.installFolder += 'f';
  EXPECT_FALSE(Register({2008}));
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::LocalMachine, Key(product, 2008)))
      << "no key with a cut path, nor an empty one";
}

TEST_F(DemandLoad, YearsOutsideTheTableAndVanishedProductKeysAreNoFailure) {
  RegisterArxForRelease(inventory, machine.registry, 2006, outcome);
  RegisterArxForRelease(inventory, machine.registry, 2026, outcome);
  inventory.productKeyPaths[1].push_back("SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\Gone\\");
  RegisterArxForRelease(inventory, machine.registry, 2008, outcome);
  EXPECT_TRUE(outcome.EverythingMachineWide());
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\Gone"));
  EXPECT_EQ(machine.registry.WriteCount(), 0u);
}


// Without administrator rights: the user's product key, where AutoCAD has made one, takes the
// key that HKEY_LOCAL_MACHINE refused; AutoCAD reads it first.
TEST_F(DemandLoad, RefusedMachineWideKeysGoBelowTheUsersExistingProductKeysOnly) {
  const std::string wow = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::LocalMachine, wow));
  inventory.productKeyPaths[1].push_back(wow);
  const std::string user = "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser, user + "Profiles"));
  const std::string neverStarted = AddProduct(2010, "R18.0\\ACAD-8001:804");
  ASSERT_TRUE(machine.registry.DenyWriteTree(RegRoot::LocalMachine, ""));

  EXPECT_FALSE(Register({2008, 2010}));

  const std::string key = user + "Applications\\ZV_BatchPlot2008";
  EXPECT_EQ(machine.registry.ReadDword(RegRoot::CurrentUser, key, "LOADCTRLS"), 2u);
  EXPECT_EQ(machine.registry.ReadString(RegRoot::CurrentUser, key, "LOADER"),
            std::string(kFolder) + "\\ZV_BatchPlot2008.ARX");
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::CurrentUser, "Software\\Autodesk\\AutoCAD\\R18.0"))
      << "a user key AutoCAD has not made is never created";
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::LocalMachine, wow + "Applications"));
  EXPECT_TRUE(outcome.releases[1].perUser);
  EXPECT_FALSE(outcome.releases[1].Lacks());
  EXPECT_TRUE(outcome.releases[3].loadingMissing);
  EXPECT_FALSE(outcome.releases[3].perUser);
}

TEST_F(DemandLoad, AFailedWriteBelowTheUsersKeyLeavesTheReleaseUnregistered) {
  const std::string product = AddProduct(2013, "R19.0\\ACAD-B001:804");
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser,
                                             "Software\\Autodesk\\AutoCAD\\R19.0\\ACAD-B001:804"));
  ASSERT_TRUE(machine.registry.DenyWriteTree(RegRoot::LocalMachine, ""));
  machine.registry.SetWriteHook([](const platform::RegistryWrite& write) -> long {
    return write.valueName == "LOADER" ? reg::kAccessDenied : reg::kSuccess;
  });
  EXPECT_FALSE(Register({2013}));
  EXPECT_TRUE(outcome.releases[6].loadingMissing);
  EXPECT_FALSE(outcome.releases[6].perUser);
}

// AutoCAD reads the user's demand-load keys first: where the machine-wide key was written, an
// older key of this user would load an old module.
TEST_F(DemandLoad, AMachineWideKeyRemovesTheUsersOldKeyOrMakesOneWithSubKeysNameTheNewModule) {
  const std::string plain = AddProduct(2014, "R19.1\\ACAD-D001:804");
  const std::string withChild = AddProduct(2014, "R19.1\\ACAD-D002:804");
  const std::string userPlain = "Software\\Autodesk\\AutoCAD\\R19.1\\ACAD-D001:804\\Applications";
  const std::string userWithChild = "Software\\Autodesk\\AutoCAD\\R19.1\\ACAD-D002:804\\Applications";
  for (const std::string& applications : {userPlain, userWithChild}) {
    ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, applications + "\\ZV_BatchPlot2014",
                                           "LOADER", "D:\\Old\\ZV_BatchPlot2013.ARX"));
    ASSERT_TRUE(machine.registry.SetDword(RegRoot::CurrentUser, applications + "\\ZV_BatchPlot2014",
                                          "LOADCTRLS", 4));
  }
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser,
                                             userWithChild + "\\ZV_BatchPlot2014\\Commands"));

  EXPECT_TRUE(Register({2014}));

  const std::string module = std::string(kFolder) + "\\ZV_BatchPlot2013.ARX";
  EXPECT_EQ(Loader(plain, 2014), module);
  EXPECT_EQ(Loader(withChild, 2014), module);
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::CurrentUser, userPlain + "\\ZV_BatchPlot2014"));
  EXPECT_TRUE(machine.registry.KeyExists(RegRoot::CurrentUser, userPlain)) << "only the last level";
  EXPECT_EQ(machine.registry.ReadString(RegRoot::CurrentUser, userWithChild + "\\ZV_BatchPlot2014",
                                        "LOADER"),
            module);
  EXPECT_EQ(machine.registry.ReadDword(RegRoot::CurrentUser, userWithChild + "\\ZV_BatchPlot2014",
                                       "LOADCTRLS"),
            2u);
  EXPECT_TRUE(machine.registry.KeyExists(RegRoot::CurrentUser,
                                         userWithChild + "\\ZV_BatchPlot2014\\Commands"));
}


// AutoCAD 2008 listed in both registry branches shares one user key: a refused branch's
// per-user key stays though the other branch's machine-wide key was written after it.
TEST_F(DemandLoad, AKeyWrittenForTheUserIsNotTakenAwayByTheOtherBranchOfTheSameProduct) {
  const std::string wow = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::LocalMachine, wow));
  inventory.productKeyPaths[1].push_back(wow);
  AddProduct(2008, "R17.1\\ACAD-6001:804");
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser,
                                             "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804"));
  ASSERT_TRUE(machine.registry.DenyWriteTree(RegRoot::LocalMachine, wow));

  Register({2008});

  EXPECT_EQ(machine.registry.ReadString(
                RegRoot::CurrentUser,
                "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Applications\\ZV_BatchPlot2008",
                "LOADER"),
            std::string(kFolder) + "\\ZV_BatchPlot2008.ARX");
  EXPECT_TRUE(outcome.releases[1].perUser);
  EXPECT_FALSE(outcome.releases[1].Lacks());
}

}  // namespace
}  // namespace registration
