// The user's own places taking what the machine-wide ones refuse, against the real registry
// and files of the Wine prefix. Wine refuses a registry value write through a handle when the
// key's security denies KEY_SET_VALUE, and a copy onto a file that another handle holds open
// without sharing; it does not check the creation or deletion of keys, so the refused
// demand-load key exists beforehand with a sub-key (its deletion then fails, as on Windows).

#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "discovery/installation_inventory.h"
#include "platform/memory/scripted_message_boxes.h"
#include "platform/win32/win32_platform.h"
#include "registration/demand_load.h"
#include "registration/support_files.h"
#include "tests/registration/win32/scratch.h"
#include "ui/logic/install_message_boxes.h"

namespace registration {
namespace {

using namespace win32_testing;

constexpr const char* kFolder = "C:\\Zelvar\\Zelvar批打印软件";

// Lets everyone do everything with the key except set its values: what a user without
// administrator rights meets below HKEY_LOCAL_MACHINE.
bool DenySetValue(HKEY root, const std::string& path) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;0x2;;;WD)(A;;KA;;;WD)",
                                                            SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    return false;
  }
  HKEY key = nullptr;
  bool denied = false;
  if (RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
    denied = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    RegCloseKey(key);
  }
  LocalFree(descriptor);
  return denied;
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool PutFile(const std::string& path, const std::string& contents) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << contents;
  return static_cast<bool>(file);
}

// A file held open without sharing, as a running program may hold it.
class HeldFile {
 public:
  explicit HeldFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~HeldFile() {
    if (Held()) CloseHandle(handle_);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

class TempTree {
 public:
  explicit TempTree(std::string path) : path_(std::move(path)) { RemoveTree(path_); }
  ~TempTree() { RemoveTree(path_); }
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

bool MakeFolders(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
    const std::string part = path.substr(0, at);
    if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      return false;
    }
    if (at == std::string::npos) return true;
  }
}

// Product keys below a scratch branch of both roots: the machine's below
// HKLM\SOFTWARE\ZelvarSetupTest\..., the user's below HKCU\Software\ZelvarSetupTest\...
struct ScratchBranches {
  ScratchBranches()
      : machine(HKEY_LOCAL_MACHINE, "SOFTWARE\\ZelvarSetupTest\\PerUser-" + Pid()),
        user(HKEY_CURRENT_USER, "Software\\ZelvarSetupTest\\PerUser-" + Pid()) {}
  std::string MachineProduct(const char* name) const { return machine.Path() + "\\" + name + "\\"; }
  std::string UserProduct(const char* name) const { return user.Path() + "\\" + name; }
  ScratchKey machine;
  ScratchKey user;
};

TEST(PerUserOnWine, ADemandLoadKeyWhoseValuesAreRefusedGoesBelowTheUsersProductKeyOnly) {
  const ScratchBranches branches;
  const char* started = "R17.1\\ACAD-6001:804";
  const char* neverStarted = "R17.1\\ACAD-6002:409";
  platform::Win32Platform machine;
  discovery::InstallationInventory inventory{machine.Get()};
  inventory.installFolder = kFolder;
  for (const char* product : {started, neverStarted}) {
    const std::string demandLoad = branches.MachineProduct(product) + "Applications\\ZV_BatchPlot2008";
    ASSERT_TRUE(PutKey(HKEY_LOCAL_MACHINE, demandLoad + "\\Commands"));
    ASSERT_TRUE(DenySetValue(HKEY_LOCAL_MACHINE, demandLoad));
    // The refusal itself, through a handle opened as the setup opens it.
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, demandLoad.c_str(), &key), ERROR_SUCCESS);
    const DWORD two = 2;
    EXPECT_EQ(RegSetValueExA(key, "LOADCTRLS", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&two),
                             sizeof two),
              ERROR_ACCESS_DENIED);
    RegCloseKey(key);
    inventory.productKeyPaths[1].push_back(branches.MachineProduct(product));
  }
  ASSERT_TRUE(PutKey(HKEY_CURRENT_USER, branches.UserProduct(started) + "\\Profiles"));

  RegistrationOutcome outcome;
  discovery::ReleaseFlags flags{};
  flags[1] = 1;
  RegisterSelectedReleases(inventory, machine.registry, flags, outcome);

  const std::string userKey = branches.UserProduct(started) + "\\Applications\\ZV_BatchPlot2008";
  const ValueRead controls = GetValue(HKEY_CURRENT_USER, userKey, "LOADCTRLS");
  EXPECT_EQ(controls.type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(controls.data, std::string("\x02\0\0\0", 4));
  EXPECT_EQ(Text(GetValue(HKEY_CURRENT_USER, userKey, "LOADER")),
            std::string(kFolder) + "\\ZV_BatchPlot2008.ARX");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, branches.UserProduct(neverStarted)));
  EXPECT_FALSE(GetValue(HKEY_LOCAL_MACHINE,
                        branches.MachineProduct(started) + "Applications\\ZV_BatchPlot2008",
                        "LOADER")
                   .found);
  EXPECT_TRUE(outcome.releases[1].perUser);
  EXPECT_TRUE(outcome.releases[1].loadingMissing);
}

TEST(PerUserOnWine, AMachineWideKeyWrittenTakesTheUsersOldKeyAway) {
  const ScratchBranches branches;
  const char* product = "R18.0\\ACAD-8001:804";
  ASSERT_TRUE(PutKey(HKEY_LOCAL_MACHINE, branches.MachineProduct(product)));
  const std::string stale = branches.UserProduct(product) + "\\Applications\\ZV_BatchPlot2010";
  ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, stale, "LOADER", REG_SZ,
                       std::string("D:\\Old\\ZV_BatchPlot2010.ARX", 28)));
  platform::Win32Platform machine;
  discovery::InstallationInventory inventory{machine.Get()};
  inventory.installFolder = kFolder;
  inventory.productKeyPaths[3].push_back(branches.MachineProduct(product));

  RegistrationOutcome outcome;
  discovery::ReleaseFlags flags{};
  flags[3] = 1;
  RegisterSelectedReleases(inventory, machine.registry, flags, outcome);

  EXPECT_TRUE(outcome.EverythingMachineWide());
  EXPECT_EQ(Text(GetValue(HKEY_LOCAL_MACHINE,
                          branches.MachineProduct(product) + "Applications\\ZV_BatchPlot2010",
                          "LOADER")),
            std::string(kFolder) + "\\ZV_BatchPlot2010.ARX");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, stale));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, branches.UserProduct(product) + "\\Applications"));
}

// The fonts of an AutoCAD install folder whose Fonts folder refuses them land in the user's
// roaming Support folder; the plot driver has no such place.
void ExpectFontsInTheUsersSupportFolder(const std::string& acad) {
  const TempTree data(ProgramFolder() + "\\Data");
  ASSERT_TRUE(MakeFolders(data.Path()));
  ASSERT_TRUE(PutFile(data.Path() + "\\Zelvar_EN.shx", "package EN"));
  ASSERT_TRUE(PutFile(data.Path() + "\\Zelvar_HZ.shx", "package HZ"));
  ASSERT_TRUE(PutFile(data.Path() + "\\Zelvar.prt5", "package driver"));
  const ScratchBranches branches;
  const char* product = "R17.1\\ACAD-6001:804";
  const TempTree roaming(TempFolder() + "\\zelvar-roaming-" + Pid());
  ASSERT_TRUE(MakeFolders(roaming.Path() + "\\R17.1\\chs\\Support"));
  const std::string root = roaming.Path() + "\\R17.1\\chs\\";
  ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, branches.UserProduct(product), "RoamableRootFolder",
                       REG_SZ, root + '\0'));

  platform::Win32Platform win32;
  platform::ScriptedMessageBoxes messages;
  const platform::Platform machine{win32.registry, win32.files, win32.processes};
  discovery::InstallationInventory inventory{machine};
  inventory.acadLocations[1].push_back(acad);
  inventory.productKeyPaths[1].push_back(branches.MachineProduct(product));
  RegistrationOutcome outcome;
  discovery::ReleaseFlags flags{};
  flags[1] = 1;
  ui::InstallMessageBoxes prompts(messages, 0);
  InstallSupportFiles(inventory, machine, prompts, flags, outcome);

  EXPECT_EQ(ReadWhole(root + "Support\\Zelvar_EN.shx"), "package EN");
  EXPECT_EQ(ReadWhole(root + "Support\\Zelvar_HZ.shx"), "package HZ");
  EXPECT_TRUE(outcome.releases[1].perUser);
  EXPECT_FALSE(outcome.releases[1].fontsMissing);
  EXPECT_TRUE(outcome.releases[1].driverMissing);
  EXPECT_TRUE(messages.Shown().empty());
}

TEST(PerUserOnWine, FontsRefusedByFilesHeldOpenGoToTheUsersRoamableSupportFolder) {
  const TempTree acad(TempFolder() + "\\zelvar-acad2008-" + Pid());
  ASSERT_TRUE(MakeFolders(acad.Path() + "\\Fonts") && MakeFolders(acad.Path() + "\\Drv"));
  for (const char* file : {"\\Fonts\\Zelvar_EN.shx", "\\Fonts\\Zelvar_HZ.shx", "\\Drv\\pdfplot9.hdi"}) {
    ASSERT_TRUE(PutFile(acad.Path() + file, "AutoCAD's own"));
  }
  {
    const HeldFile english(acad.Path() + "\\Fonts\\Zelvar_EN.shx");
    const HeldFile chinese(acad.Path() + "\\Fonts\\Zelvar_HZ.shx");
    const HeldFile driver(acad.Path() + "\\Drv\\pdfplot9.hdi");
    ASSERT_TRUE(english.Held() && chinese.Held() && driver.Held());
    ExpectFontsInTheUsersSupportFolder(acad.Path());
  }
  EXPECT_EQ(ReadWhole(acad.Path() + "\\Fonts\\Zelvar_EN.shx"), "AutoCAD's own");
}

// Run by run-as-user.sh, which makes an AutoCAD folder whose Fonts and Drv folders an ordinary
// Unix user may not write (mode 555) and runs this program as that user; root writes anywhere.
TEST(PerUserOnWine, FontsRefusedByAFolderWithoutWriteRightsGoToTheUsersRoamableSupportFolder) {
  const char* acad = std::getenv("ZELVAR_UNWRITABLE_ACAD");
  if (acad == nullptr || *acad == '\0') {
    GTEST_SKIP() << "needs run-as-user.sh: an AutoCAD folder that refuses writes";
  }
  const std::string probe = std::string(acad) + "\\Fonts\\probe.txt";
  ASSERT_FALSE(CopyFileA((ProgramFolder() + "\\registration_win32_tests.exe").c_str(),
                         probe.c_str(), FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ExpectFontsInTheUsersSupportFolder(acad);
}

}  // namespace
}  // namespace registration
