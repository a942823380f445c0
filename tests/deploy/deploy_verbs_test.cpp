// The tool's verbs on the uninstaller tests' machine (AutoCAD 2008 in both branches, 2010),
// with a product folder as the Windows Installer package leaves it: each verb's whole change.

#include <gtest/gtest.h>

#include "deploy/verbs.h"
#include "install/product_identity.h"
#include "registration/active_setup.h"
#include "tests/support/whole_state.h"
#include "tests/uninstall/uninstall_machine.h"

namespace {

using Lines = std::vector<std::string>;
using platform::RegRoot;
using test_support::Changes;
using test_support::Take;

constexpr const char* kFolder = "C:\\Program Files\\Zelvar";

struct Deploy : ::testing::Test {
  Deploy() { AddProductFolder(kFolder); }
  void AddProductFolder(const std::string& folder) {
    for (const char* name : {"zelvar-deploy.exe", "Zelvar_EN.shx", "Zelvar_HZ.shx",
                             "Zelvar.prt5", "Zelvar.Ini.default", "ZV_BatchPlot2008.ARX"}) {
      m.memory.files.AddFile(folder + "\\" + name, name);
    }
  }
  int Run(Lines args) {
    error.clear();
    return deploy::RunDeploy(m.memory.Get(), args, error);
  }
  int Run(const char* verb) { return Run({verb, "--folder", kFolder}); }
  uninstall_test::Machine m;
  std::string error;
};

const std::string kHklm = "HKLM\\SOFTWARE\\Autodesk\\AutoCAD\\";
const std::string kWow = "HKLM\\SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\";
const std::string k2008 = "R17.1\\ACAD-6001:804\\Applications";
const std::string k2010 = "R18.0\\ACAD-8001:804\\Applications\\ZV_BatchPlot2010";
const std::string kAcad2008 = "C:\\Program Files (x86)\\AutoCAD 2008\\";
const std::string kAcad2010 = "C:\\Program Files\\AutoCAD 2010\\";

TEST_F(Deploy, MachineWritesBelowHklmAndIntoAutoCADsFoldersAlone) {
  const auto before = Take(m.memory);
  EXPECT_EQ(Run({"machine", "--folder", kFolder, "--releases", "2008,2010"}), 0) << error;
  EXPECT_EQ(Changes(before, Take(m.memory)),
            (Lines{"+ key " + kHklm + k2008,
                   "+ key " + kHklm + k2008 + "\\ZV_BatchPlot2008",
                   "+ key " + kHklm + k2010,
                   "+ key " + kWow + k2008,
                   "+ key " + kWow + k2008 + "\\ZV_BatchPlot2008",
                   "+ value " + kHklm + k2008 + "\\ZV_BatchPlot2008 [LOADCTRLS]",
                   "+ value " + kHklm + k2008 + "\\ZV_BatchPlot2008 [LOADER]",
                   "+ value " + kHklm + k2010 + " [LOADCTRLS]",
                   "+ value " + kHklm + k2010 + " [LOADER]",
                   "+ value " + kWow + k2008 + "\\ZV_BatchPlot2008 [LOADCTRLS]",
                   "+ value " + kWow + k2008 + "\\ZV_BatchPlot2008 [LOADER]",
                   "* " + kAcad2008 + "Drv\\pdfplot9.hdi contents",
                   "+ " + kAcad2008 + "Drv\\pdfplot9.hdi.orig",
                   "+ " + kAcad2008 + "Fonts\\Zelvar_EN.shx",
                   "+ " + kAcad2008 + "Fonts\\Zelvar_HZ.shx",
                   "+ " + kAcad2010 + "Fonts\\Zelvar_EN.shx",
                   "+ " + kAcad2010 + "Fonts\\Zelvar_HZ.shx",
                   "* " + std::string(kFolder) + " access inherited -> machine-wide"}));
  EXPECT_EQ(m.memory.registry.ReadString(RegRoot::LocalMachine,
                                         "SOFTWARE\\Autodesk\\AutoCAD\\" + k2010, "LOADER"),
            std::string(kFolder) + "\\ZV_BatchPlot2010.ARX");
}

TEST_F(Deploy, MachineWithoutRightsNamesEachRefusalAndWritesNothingForTheUser) {
  m.TakeAwayRights();
  const auto before = Take(m.memory);
  EXPECT_EQ(Run("machine"), 1);
  // The folder is the user's own here, which they may close.
  EXPECT_EQ(Changes(before, Take(m.memory)), Lines{"* " + std::string(kFolder) + " access " +
                                                   "inherited -> machine-wide"});
  for (const std::string& refused : {kHklm + k2010, kAcad2010 + "Fonts\\Zelvar_HZ.shx",
                                    kAcad2008 + "Drv\\pdfplot9.hdi"}) {
    EXPECT_NE(error.find(refused.substr(refused.find('\\'))), std::string::npos) << error;
  }
}

TEST_F(Deploy, MachineRegistersNothingForAFolderItCannotClose) {
  m.memory.files.DenyWrites(kFolder);
  const auto before = Take(m.memory);
  EXPECT_EQ(Run("machine"), 1);
  EXPECT_EQ(Changes(before, Take(m.memory)), Lines{});
  EXPECT_NE(error.find(std::string("refused: access of ") + kFolder), std::string::npos) << error;
}

const std::string kHkcu = "HKCU\\SOFTWARE\\Autodesk\\AutoCAD\\";
const std::string kUnnamed2024 = kHkcu + "R24.0\\ACAD-4101:804\\Profiles\\<<Unnamed Profile>>\\Variables";
const std::string kAppData = std::string(uninstall_test::kAppData) + "\\Zelvar";

TEST_F(Deploy, UserTrustsGivesSettingsAndRemovesTheKeyThatHidesTheMachines) {
  const std::string hiding = "Software\\Autodesk\\AutoCAD\\" + k2010;
  m.memory.registry.SetString(RegRoot::CurrentUser, hiding, "LOADER", "C:\\Old\\ZV_BatchPlot2010.ARX");
  // The machine's key of 2008 names another folder (the other route's): the user's stays.
  m.memory.registry.SetString(RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD\\" + k2008 +
                              "\\ZV_BatchPlot2008", "LOADER", "D:\\Zelvar\\ZV_BatchPlot2008.ARX");
  m.memory.registry.SetString(RegRoot::CurrentUser, "Software\\Autodesk\\AutoCAD\\" + k2008 +
                              "\\ZV_BatchPlot2008", "LOADER", "C:\\Old\\ZV_BatchPlot2008.ARX");
  ASSERT_EQ(Run({"machine", "--folder", kFolder, "--releases", "2010"}), 0) << error;
  const auto before = Take(m.memory);
  EXPECT_EQ(Run("user"), 0) << error;
  EXPECT_EQ(Changes(before, Take(m.memory)),
            (Lines{"+ key " + kUnnamed2024,
                   "+ value " + kHkcu + "R18.0\\ACAD-8001:804\\Profiles\\Plot\\Variables [TRUSTEDPATHS]",
                   "+ value " + kUnnamed2024 + " [TRUSTEDPATHS]",
                   "- key " + kHkcu + k2010,
                   "- value " + kHkcu + k2010 + " [LOADER]",
                   "~ value HKCU\\" + std::string(uninstall_test::kProfile2008) + " [TRUSTEDPATHS]",
                   "~ value HKCU\\" + std::string(uninstall_test::kProfile2010) + " [TRUSTEDPATHS]",
                   "+ " + kAppData, "+ " + kAppData + "\\Zelvar.Ini"}));
  EXPECT_EQ(m.memory.registry.ReadString(RegRoot::CurrentUser, kUnnamed2024.substr(5), "TRUSTEDPATHS"),
            kFolder);
  EXPECT_EQ(m.memory.files.ReadFile(kAppData + "\\Zelvar.Ini"), "Zelvar.Ini.default");
}

TEST_F(Deploy, RemoveTakesBackWhatMachineAndUserWroteButTheSettings) {
  // The user's record of having run the component's StubPath.
  m.memory.registry.CreateKeyPath(RegRoot::CurrentUser, install::kActiveSetupComponentPath);
  const auto before = Take(m.memory);
  ASSERT_EQ(Run("machine"), 0) << error;
  ASSERT_EQ(Run("user"), 0) << error;
  ASSERT_EQ(registration::WriteActiveSetupComponent(m.memory.registry, kFolder), 0);
  EXPECT_EQ(Run("remove"), 0) << error;
  // Kept as the uninstaller keeps them: the keys that hold others' entries, the fonts, the
  // letter case of TRUSTEDPATHS; and the settings, which name no folder.
  EXPECT_EQ(Changes(before, Take(m.memory)),
            (Lines{"+ key " + kUnnamed2024,
                   "+ key " + kHklm + k2008,
                   "+ key " + kWow + k2008,
                   "- key HKCU\\SOFTWARE" + std::string(install::kActiveSetupComponentPath + 8),
                   "~ value HKCU\\" + std::string(uninstall_test::kProfile2008) + " [TRUSTEDPATHS]",
                   "~ value HKCU\\" + std::string(uninstall_test::kProfile2010) + " [TRUSTEDPATHS]",
                   "+ " + kAcad2008 + "Fonts\\Zelvar_EN.shx", "+ " + kAcad2008 + "Fonts\\Zelvar_HZ.shx",
                   "+ " + kAcad2010 + "Fonts\\Zelvar_EN.shx", "+ " + kAcad2010 + "Fonts\\Zelvar_HZ.shx",
                   "* " + std::string(kFolder) + " access inherited -> machine-wide",  // goes next
                   "+ " + kAppData, "+ " + kAppData + "\\Zelvar.Ini"}));
}

// Both routes write the same keys: the later one's name its folder, and the earlier one's
// removal leaves them and the plot driver they need.
TEST_F(Deploy, RemovalLeavesWhatTheOtherFoldersInstallationStillLoads) {
  const std::string other = "D:\\Zelvar";
  AddProductFolder(other);
  const auto driver = m.memory.files.ReadFile(kAcad2008 + "Drv\\pdfplot9.hdi");
  ASSERT_EQ(Run("machine"), 0) << error;
  ASSERT_EQ(Run({"machine", "--folder", other}), 0) << error;
  const auto both = Take(m.memory);
  EXPECT_EQ(Run("remove"), 0) << error;
  EXPECT_EQ(Changes(both, Take(m.memory)), Lines{});
  EXPECT_EQ(Run({"remove", "--folder", other}), 0) << error;
  EXPECT_EQ(m.memory.files.ReadFile(kAcad2008 + "Drv\\pdfplot9.hdi"), driver);
}

TEST_F(Deploy, BadArgumentsChangeNothingAndShowTheUsage) {
  m.memory.files.AddFolder("C:\\Empty");
  m.memory.files.AddFolderLink("C:\\Link", kFolder);
  const std::pair<Lines, std::string> rows[] = {
      {{"deploy", "--folder", kFolder}, "unknown verb"},
      {{"machine", "--folder", kFolder, "--releases", "2006"}, "2006"},
      {{"user", "--folder", "C:\\Missing"}, "does not exist"},
      {{"user", "--folder", kFolder + std::string("\\Zelvar.prt5")}, "does not exist"},
      {{"remove", "--folder", "C:\\Link"}, "is a link"},
      {{"machine", "--folder", "C:\\Empty"}, "holds no zelvar-deploy.exe"},
  };
  for (const auto& [args, reason] : rows) {
    SCOPED_TRACE(reason);
    const auto before = Take(m.memory);
    EXPECT_EQ(Run(args), 2);
    EXPECT_EQ(Changes(before, Take(m.memory)), Lines{});
    EXPECT_NE(error.find(reason), std::string::npos) << error;
    EXPECT_TRUE(error.ends_with(deploy::kUsageText)) << error;
  }
}

TEST_F(Deploy, EveryVerbRunTwiceChangesNothingTheSecondTime) {
  for (const char* verb : {"machine", "user", "remove"}) {
    SCOPED_TRACE(verb);
    ASSERT_EQ(Run(verb), 0) << error;
    const auto once = Take(m.memory);
    EXPECT_EQ(Run(verb), 0) << error;
    EXPECT_EQ(Changes(once, Take(m.memory)), Lines{});
  }
}

TEST_F(Deploy, TheLogGrowsByWhatEachRunDidOrWasRefused) {
  const std::string log = "C:\\deploy.log";
  m.memory.files.AddFile(log, "earlier\r\n");
  EXPECT_EQ(Run({"user", "--folder", kFolder, "--log", log}), 0);
  EXPECT_EQ(Run({"user", "--folder", "C:\\Missing", "--log", log}), 2);
  const std::string text = m.memory.files.ReadFile(log).value_or("");
  EXPECT_TRUE(text.starts_with("earlier\r\nzelvar-deploy user --folder C:\\Program Files\\Zelvar "
                               "--log C:\\deploy.log\r\n"
                               "done: trusted in HKEY_CURRENT_USER\\")) << text;
  EXPECT_NE(text.find("\r\ndone: copied " + kAppData + "\\Zelvar.Ini\r\nexit 0\r\n"), std::string::npos) << text;
  EXPECT_TRUE(text.ends_with("bad arguments, nothing changed: the folder does not exist: "
                             "C:\\Missing\r\nexit 2\r\n")) << text;
}

}  // namespace
