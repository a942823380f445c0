// The whole machine before an installation and after the uninstallation that follows it: only
// what is kept on purpose differs (fonts, the letter case of TRUSTEDPATHS, the Applications
// keys); AutoCAD 2008's plot driver is its own again. Every single removal failing in turn is reported and
// harms nothing else; a second uninstallation changes nothing.

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/uninstall_message_boxes.h"
#include "discovery/text_format.h"
#include "install/installation_record.h"
#include "install/installed_apps_entry.h"
#include "platform/ansi_text.h"
#include "platform/code_page.h"
#include "registration/trusted_paths_text.h"
#include "tests/support/owned_places.h"
#include "tests/support/whole_state.h"
#include "tests/uninstall/uninstall_machine.h"
#include "uninstall/uninstall_messages.h"
#include "uninstall/uninstall_sequence.h"

namespace uninstall_test {
namespace {

namespace mb = platform::mb;

using State = test_support::WholeState;
using test_support::Changes;

// TRUSTEDPATHS as AutoCAD reads it: letter case aside.
State Take(const Machine& m) {
  State state{m.memory.registry.Snapshot(), m.memory.files.Snapshot()};
  for (auto& key : state.registry.keys) {
    for (auto& value : key.values) {
      if (value.name == "TRUSTEDPATHS") {
        value.data = code_page::Utf16Bytes(registration::trusted_paths_text::ToUpper(
            code_page::Utf16FromBytes(value.data)));
      }
    }
  }
  return state;
}

bool Has(const std::string& line, const std::string& part) {
  return line.find(part) != std::string::npos;
}

// What an uninstallation leaves on purpose: the Applications and Variables keys, which may have
// been there before, and the fonts, which drawings may still use.
bool KeptOnPurpose(const test_support::OwnedPlaces& places, const std::string& line) {
  if (line.rfind("+ key ", 0) == 0) {
    const std::string key = line.substr(6);
    return places.Holds(places.applicationsKeys, key) || places.Holds(places.variablesKeys, key);
  }
  // The package's files lost their read-only bit when they were copied.
  if (line.rfind("* C:\\Dist\\Data\\", 0) == 0) return Has(line, " attributes ");
  return line.rfind("+ ", 0) == 0 && places.Holds(places.fonts, line.substr(2));
}

std::vector<std::string> Unexpected(Machine& m, const State& before, const State& after) {
  discovery::InstallationInventory inventory(m.memory.Get());
  inventory.ScanAcadInstallations();
  const test_support::OwnedPlaces places =
      test_support::OwnedPlacesOf(m.memory, inventory, InCodePage(kProduct));
  std::vector<std::string> wrong;
  for (const std::string& line : Changes(before, after)) {
    if (!KeptOnPurpose(places, line)) wrong.push_back(line);
  }
  return wrong;
}

// The uninstaller as the program runs it: from its copy outside the product folder.
bool Uninstall(Machine& m, uninstall::RemovalReport& report) {
  return app::UninstallWithMessageBoxes(m.memory.Get(), m.memory.messages, InCodePage(kProduct), report);
}

std::string LastMessage(const Machine& m) {
  return m.memory.messages.Shown().empty() ? "" : m.memory.messages.Shown().back().text;
}

// With and without administrator rights, in code page 936 and with Windows set to UTF-8.
class UninstallWholeState : public ::testing::TestWithParam<std::tuple<bool, unsigned>> {
 protected:
  void SetUp() override { ansi::SetActiveCodePage(std::get<1>(GetParam())); }
  void TearDown() override { ansi::SetActiveCodePage(ansi::kCodePage936); }
};

TEST_P(UninstallWholeState, LeavesTheMachineAsBeforeButForWhatIsKeptOnPurpose) {
  const bool administrator = std::get<0>(GetParam());
  Machine m;
  if (!administrator) m.TakeAwayRights();
  const State before = Take(m);
  ASSERT_TRUE(m.Install());
  const RegRoot entryRoot = administrator ? RegRoot::LocalMachine : RegRoot::CurrentUser;
  std::string location;
  ASSERT_TRUE(install::ReadInstalledAppsLocation(m.memory.registry, entryRoot, location));
  EXPECT_EQ(location, InCodePage(kProduct));
  EXPECT_EQ(m.memory.registry.ReadStringWide(
                entryRoot, InCodePage(install::kInstalledAppsEntryPath), "InstallLocation"),
            u"C:\\Zelvar\\Zelvar批打印软件");
  // A release removed since the installation left its user key behind.
  const std::string orphan =
      "Software\\Autodesk\\AutoCAD\\R16.2\\ACAD-4001:804\\Applications\\ZV_BatchPlot2007";
  m.memory.registry.SetString(RegRoot::CurrentUser, orphan, "LOADER",
                              InCodePage(kProduct) + "\\ZV_BatchPlot2007.arx");
  const State installed = Take(m);

  m.memory.messages.QueueAnswer(mb::kIdYes);
  uninstall::RemovalReport report;
  ASSERT_TRUE(Uninstall(m, report));
  const State after = Take(m);

  EXPECT_EQ(report.notRemoved, std::vector<std::string>{});
  EXPECT_EQ(LastMessage(m), InCodePage(uninstall::kDoneText));
  // Every text shown, the setup's and the uninstaller's, is text of the code page.
  for (const platform::ShownMessageBox& box : m.memory.messages.Shown()) {
    for (const std::string& text : {box.text, box.caption}) {
      EXPECT_EQ(code_page::FromUtf16(ansi::ActiveCodePage(),
                                     code_page::ToUtf16(ansi::ActiveCodePage(), text)),
                text);
    }
  }
  EXPECT_EQ(Unexpected(m, before, after), std::vector<std::string>{});
  // The kept places are really there, so the allowance is not simply true.
  EXPECT_FALSE(Changes(before, after).empty());
  EXPECT_GT(Changes(installed, after).size(), 20u);
}

INSTANTIATE_TEST_SUITE_P(WithAndWithoutRights, UninstallWholeState,
                         ::testing::Combine(::testing::Bool(), ::testing::Values(936u, 65001u)));

// The user's own files in the product folder, and a junction there to a folder of drawings:
// only they and the folders that hold them remain, whether the installation kept a record or
// was made before records existed (everything else in the folder then goes). The junction's
// folder is never entered.
TEST(UninstallWholeState, OnlyTheUsersOwnFilesAndTheirFoldersRemainAndNoLinkIsFollowed) {
  const std::string product = kProduct;
  for (const bool recorded : {true, false}) {
    SCOPED_TRACE(recorded ? "recorded" : "installed before records");
    Machine m;
    m.memory.files.AddFile("D:\\图纸\\plan.dwg", "drawing");
    const State before = Take(m);
    ASSERT_TRUE(m.Install());
    m.memory.files.AddFile(product + "\\我的\\a.dwg", "mine");
    m.memory.files.AddFile(product + "\\notes.txt", "mine");
    ASSERT_TRUE(m.memory.files.AddFolderLink(product + "\\图纸", "D:\\图纸"));
    if (!recorded) m.memory.files.RemoveFile((product + "\\UnInstall.lst").c_str());
    m.memory.messages.QueueAnswer(mb::kIdYes);
    uninstall::RemovalReport report;
    ASSERT_TRUE(Uninstall(m, report));

    std::vector<std::string> expected{"+ C:\\Zelvar", "+ " + product};
    if (recorded) {
      expected.insert(expected.end(), {"+ " + product + "\\notes.txt", "+ " + product + "\\图纸",
                                       "+ " + product + "\\我的", "+ " + product + "\\我的\\a.dwg"});
    } else {
      expected.push_back("+ " + product + "\\图纸");
    }
    EXPECT_EQ(Unexpected(m, before, Take(m)), expected);
    EXPECT_EQ(LastMessage(m), std::string(uninstall::kDoneText) + "\n\n" +
                                  discovery::FormatText(uninstall::kKeptFolderFormat, kProduct));
    EXPECT_FALSE(m.memory.registry.KeyExists(RegRoot::LocalMachine, install::kInstalledAppsEntryPath));
  }
}

// An elevated uninstaller must not be steered by an edited record: only what names a file
// inside the product folder, reached without a link, is acted on; the rest is named. A record
// that cannot be read whole leaves every file of the folder.
TEST(UninstallWholeState, TheRecordIsInputNotTrust) {
  const std::string product = kProduct;
  const std::string outside[] = {"..\\..\\Windows\\win.ini", "C:\\Windows\\win.ini",
                                 "\\\\server\\share\\a", "D:a", "a.dll:Zone.Identifier",
                                 "图纸\\plan.dwg", "NUL", std::string(300, 'x')};
  const struct {
    const char* name;
    std::string end;
    bool unreadable;
  } cases[] = {{"edited", "end\r\n", false}, {"cut short", "", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    m.memory.files.AddFile("C:\\Windows\\win.ini", "Windows'");
    m.memory.files.AddFile("D:\\图纸\\plan.dwg", "drawing");
    ASSERT_TRUE(m.Install());
    ASSERT_TRUE(m.memory.files.AddFolderLink(product + "\\图纸", "D:\\图纸"));
    std::string record = "ZelvarInstallRecord 1\r\nF ZV_BatchPlot2010.ARX\r\n";
    for (const std::string& entry : outside) record += "F " + entry + "\r\n";
    m.memory.files.AddFile(product + "\\UnInstall.lst", record + c.end);
    const State before = Take(m);
    m.memory.messages.QueueAnswer(mb::kIdYes);
    uninstall::RemovalReport report;
    ASSERT_TRUE(Uninstall(m, report));

    EXPECT_EQ(m.memory.files.ReadFile("C:\\Windows\\win.ini"), "Windows'");
    EXPECT_EQ(m.memory.files.ReadFile("D:\\图纸\\plan.dwg"), "drawing");
    EXPECT_EQ(m.memory.files.Exists(product + "\\ZV_BatchPlot2010.ARX"), c.unreadable);
    EXPECT_TRUE(m.memory.files.Exists(product + "\\ZV_BatchPlot2008.ARX")) << "not recorded";
    EXPECT_EQ(report.refusedEntries.size(), c.unreadable ? 0u : std::size(outside));
    EXPECT_EQ(report.unreadableRecord.empty(), !c.unreadable);
    for (const std::string& line : Changes(before, Take(m))) {
      EXPECT_EQ(line.find("- D:\\"), std::string::npos) << line;
      EXPECT_EQ(line.find("- C:\\Windows"), std::string::npos) << line;
    }
  }
}

// Installing into another folder takes the earlier installation out first: the machine is
// then the one a single installation into that folder makes, and installing again offers the
// folder chosen then.
TEST(EarlierInstallation, InstallingIntoAnotherFolderLeavesOneInstallation) {
  Machine once;
  ASSERT_TRUE(once.Install("D:\\Tools"));
  Machine moved;
  std::string offered;
  EXPECT_FALSE(install::EarlierChosenFolder(moved.memory.Get(), offered));
  ASSERT_TRUE(moved.Install());
  ASSERT_TRUE(moved.Install("D:\\Tools"));
  EXPECT_TRUE(install::EarlierChosenFolder(moved.memory.Get(), offered));
  EXPECT_EQ(offered, "D:\\Tools");
  EXPECT_EQ(Take(moved).registry, Take(once).registry);
  EXPECT_EQ(Take(moved).files, Take(once).files);
}

// The same folder again with a package that no longer has a file: that file goes.
TEST(EarlierInstallation, AFileTheNewPackageLacksIsRemoved) {
  Machine m;
  ASSERT_TRUE(m.Install());
  m.memory.files.SetAttributes("C:\\Dist\\Data\\使用说明.txt", platform::attr::kNormal);
  m.memory.files.RemoveFile("C:\\Dist\\Data\\使用说明.txt");
  ASSERT_TRUE(m.Install());
  EXPECT_FALSE(m.memory.files.Exists(std::string(kProduct) + "\\使用说明.txt"));
  const install::RecordReading record = install::ReadInstallRecord(m.memory.files, kProduct);
  EXPECT_TRUE(record.record.Has("UnInstall.exe"));
  EXPECT_FALSE(record.record.Has("使用说明.txt"));
}

TEST(UninstallWholeStateCheck, CatchesAStrayChange) {
  Machine m;
  const State before = Take(m);
  m.memory.registry.DeleteKey(RegRoot::CurrentUser, kForeignKey);
  m.memory.registry.SetStringWide(RegRoot::CurrentUser, kProfile2010, "TRUSTEDPATHS",
                                  u"D:\\한국어\\플러그인");
  m.memory.files.AddFile("C:\\Zelvar\\left.txt", "x");
  // The key with its value, the value, the folder with its file.
  EXPECT_EQ(Unexpected(m, before, Take(m)).size(), 5u);
}

TEST(UninstallTwice, TheSecondRunFindsNoEntryAndChangesNothing) {
  Machine m;
  ASSERT_TRUE(m.Install());
  m.memory.messages.QueueAnswer(mb::kIdYes);
  uninstall::RemovalReport first;
  ASSERT_TRUE(Uninstall(m, first));
  const State once = Take(m);

  m.memory.messages.QueueAnswer(mb::kIdYes);
  uninstall::RemovalReport second;
  EXPECT_FALSE(Uninstall(m, second));
  EXPECT_EQ(LastMessage(m), uninstall::kNoEntryText);
  EXPECT_EQ(Take(m).registry, once.registry);
  EXPECT_EQ(Take(m).files, once.files);
}

// One removal the uninstallation makes: a registry write (a key deleted, a value written) or
// a file or folder removed.
struct Removal {
  bool inRegistry = false;
  platform::RegistryWrite write;
  std::string path;
};

std::string Describe(const Removal& removal) {
  return removal.inRegistry ? removal.write.keyPath : removal.path;
}

// Every removal of a clean uninstallation, in order.
std::vector<Removal> RecordRemovals() {
  Machine m;
  EXPECT_TRUE(m.Install());
  std::vector<Removal> removals;
  m.memory.registry.SetWriteHook([&](const platform::RegistryWrite& write) {
    removals.push_back({true, write, ""});
    return platform::reg::kSuccess;
  });
  m.memory.files.SetRemoveHook([&](const std::string& path) {
    removals.push_back({false, {}, path});
    return true;
  });
  m.memory.messages.QueueAnswer(mb::kIdYes);
  uninstall::RemovalReport report;
  Uninstall(m, report);
  return removals;
}

TEST(UninstallFailures, EachRemovalFailingInTurnIsReportedAndHarmsNothingElse) {
  Machine clean;
  ASSERT_TRUE(clean.Install());
  clean.memory.messages.QueueAnswer(mb::kIdYes);
  uninstall::RemovalReport cleanReport;
  Uninstall(clean, cleanReport);
  const State cleanEnd = Take(clean);

  const std::vector<Removal> removals = RecordRemovals();
  ASSERT_GE(removals.size(), 15u);
  for (std::size_t failing = 0; failing < removals.size(); ++failing) {
    const Removal& target = removals[failing];
    SCOPED_TRACE(Describe(target));
    Machine m;
    ASSERT_TRUE(m.Install());
    std::size_t seen = 0;
    m.memory.registry.SetWriteHook([&](const platform::RegistryWrite&) {
      return seen++ == failing ? platform::reg::kAccessDenied : platform::reg::kSuccess;
    });
    m.memory.files.SetRemoveHook([&](const std::string&) { return seen++ != failing; });
    m.memory.messages.QueueAnswer(mb::kIdYes);
    uninstall::RemovalReport report;
    ASSERT_TRUE(Uninstall(m, report));

    const std::string shown = ansi::ToUpper(LastMessage(m));
    const bool sharedFolder =
        !target.inRegistry &&
        (target.path == kChosen || target.path == std::string(kAppData) + "\\Zelvar");
    if (sharedFolder) {
      // The chosen folder and the settings folder may hold the user's own files too: they go
      // when they can, silently.
      EXPECT_EQ(LastMessage(m), uninstall::kDoneText);
      continue;
    }
    if (target.path == kUninstaller) {
      // The uninstaller's own file never holds the rest up (TheUninstallersOwnRunningFile...).
      EXPECT_EQ(report.uninstallerLeft, kUninstaller);
      continue;
    }
    EXPECT_NE(ansi::FindText(shown, ansi::ToUpper(Describe(target))), std::string::npos) << shown;
    EXPECT_NE(ansi::FindText(LastMessage(m), uninstall::kNoRightsReason), std::string::npos);
    // Beside the item itself, only the way back stays: the uninstaller, its folder and the
    // entry in installed apps.
    for (const std::string& line : Changes(cleanEnd, Take(m))) {
      const std::string upper = ansi::ToUpper(line);
      EXPECT_TRUE(ansi::FindText(upper, ansi::ToUpper(Describe(target))) != std::string::npos ||
                  Has(line, "C:\\Zelvar") || Has(line, "AppData\\Roaming\\Zelvar") ||
                  Has(line, "CurrentVersion\\Uninstall"))
          << line;
    }
  }
}

// Run in place (no copy of it could start elsewhere), the uninstaller cannot delete its own
// file: everything else goes, the entry too, and the message names the file, which Windows
// deletes at its next start where the rights allow it.
TEST(UninstallFailures, TheUninstallersOwnRunningFileNeverKeepsTheEntry) {
  for (const bool atRestart : {true, false}) {
    Machine m;
    ASSERT_TRUE(m.Install());
    m.memory.files.HoldInUse(kUninstaller);
    m.memory.files.RefuseRestartRemoval(!atRestart);
    m.memory.messages.QueueAnswer(mb::kIdYes);
    uninstall::RemovalReport report;
    ASSERT_TRUE(app::UninstallWithMessageBoxes(m.memory.Get(), m.memory.messages, kProduct, report));

    EXPECT_TRUE(report.Clean());
    EXPECT_EQ(LastMessage(m), std::string(uninstall::kDoneText) + "\n\n" +
                                  discovery::FormatText(atRestart
                                                            ? uninstall::kUninstallerAtRestartFormat
                                                            : uninstall::kUninstallerLeftFormat,
                                                        kUninstaller));
    const std::vector<std::string> pending =
        atRestart ? std::vector<std::string>{kUninstaller, kProduct} : std::vector<std::string>{};
    EXPECT_EQ(m.memory.files.PendingRestartRemovals(), pending);
    EXPECT_FALSE(m.memory.files.Exists(std::string(kProduct) + "\\ZV_BatchPlot2010.ARX"));
    EXPECT_FALSE(m.memory.registry.KeyExists(RegRoot::LocalMachine, install::kInstalledAppsEntryPath));
  }
}

}  // namespace
}  // namespace uninstall_test
