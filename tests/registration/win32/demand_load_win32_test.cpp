// The demand-load registration against the real registry of the Wine prefix.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "discovery/installation_inventory.h"
#include "platform/win32/win32_platform.h"
#include "registration/demand_load.h"
#include "tests/registration/win32/scratch.h"

namespace registration {
namespace {

using namespace win32_testing;

TEST(DemandLoadOnWine, ATickedReleaseIsRegisteredBelowARealProductKey) {
  const ScratchKey scratch(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZelvarSetupTest\\DemandLoad-" + Pid());
  const std::string product = scratch.Path() + "\\R17.1\\ACAD-6001:804\\";
  const std::string demandLoad = product + "Applications\\ZV_BatchPlot2008";
  const std::string unticked = scratch.Path() + "\\R18.0\\ACAD-8001:804\\";
  ASSERT_TRUE(PutValue(HKEY_LOCAL_MACHINE, demandLoad, "DESCRIPTION", REG_SZ, std::string("old", 4)));
  ASSERT_TRUE(PutKey(HKEY_LOCAL_MACHINE, unticked));

  platform::Win32Platform machine;
  discovery::InstallationInventory inventory{machine.Get()};
  inventory.installFolder = "C:\\Zelvar\\Zelvar批打印软件";
  inventory.productKeyPaths[1].push_back(product);
  inventory.productKeyPaths[3].push_back(unticked);
  discovery::ReleaseFlags flags{};
  flags[1] = 1;
  RegistrationOutcome outcome;
  RegisterSelectedReleases(inventory, machine.registry, flags, outcome);
  EXPECT_TRUE(outcome.EverythingMachineWide());

  const ValueRead controls = GetValue(HKEY_LOCAL_MACHINE, demandLoad, "LOADCTRLS");
  ASSERT_TRUE(controls.found);
  EXPECT_EQ(controls.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(controls.data, std::string("\x02\0\0\0", 4));
  const ValueRead loader = GetValue(HKEY_LOCAL_MACHINE, demandLoad, "LOADER");
  ASSERT_TRUE(loader.found);
  EXPECT_EQ(loader.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(loader.data, std::string("C:\\Zelvar\\Zelvar批打印软件\\ZV_BatchPlot2008.ARX") + '\0');
  EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE, demandLoad, "DESCRIPTION").found)
      << "the earlier key was replaced by a fresh one";

  // What AutoCAD, a Unicode program, reads: the code page 936 text turned into UTF-16.
  wchar_t wide[MAX_PATH] = {};
  DWORD wideSize = sizeof wide;
  const std::wstring widePath(demandLoad.begin(), demandLoad.end());
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, widePath.c_str(), L"LOADER", RRF_RT_REG_SZ, nullptr,
                         wide, &wideSize),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(wide), L"C:\\Zelvar\\Zelvar批打印软件\\ZV_BatchPlot2008.ARX");

  HKEY applications = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_LOCAL_MACHINE, (unticked + "Applications").c_str(), 0, KEY_READ,
                          &applications),
            ERROR_SUCCESS);
}

}  // namespace
}  // namespace registration
