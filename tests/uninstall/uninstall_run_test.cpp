// The uninstaller's conversation and rules: its texts, the question and the running-AutoCAD
// warning, the folders it refuses, the trusted-folder rule and the entry in installed apps.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/uninstall_message_boxes.h"
#include "app/uninstall_quiet.h"
#include "install/closing_notice.h"
#include "install/installed_apps_entry.h"
#include "platform/ansi_text.h"
#include "registration/active_setup.h"
#include "registration/trusted_paths.h"
#include "tests/uninstall/uninstall_machine.h"
#include "uninstall/file_removal.h"
#include "uninstall/uninstall_messages.h"
#include "uninstall/uninstall_sequence.h"

namespace uninstall_test {
namespace {

namespace mb = platform::mb;
using install::kInstalledAppsEntryPath;

std::string Hex(std::string_view text) {
  static const char* digits = "0123456789abcdef";
  std::string hex;
  for (const unsigned char c : text) {
    hex += digits[c >> 4];
    hex += digits[c & 0xF];
  }
  return hex;
}

TEST(UninstallTexts, AreCodePage936Bytes) {
  const struct {
    const char* text;
    const char* hex;
  } cases[] = {
      {uninstall::kUninstallCaption, "5a656c766172c8edbcfed0b6d4d8"},
      {uninstall::kConfirmText,
       "c8b7b6a8d2aad0b6d4d85a656c766172c5fab4f2d3a1c8edbcfec2f0a3bf"},
      {uninstall::kCloseAutoCADText, "c7ebb9d8b1d54175746f434144baf3d4d9bdf8d0d0d0b6d4d82021"},
      {uninstall::kDoneText, "5a656c766172c5fab4f2d3a1c8edbcfed2d1d0b6d4d8cdeab3c92021"},
      {uninstall::kNoEntryText,
       "ceb4d5d2b5bd5a656c766172c5fab4f2d3a1c8edbcfeb5c4b0b2d7b0d0c5cfa2a3accedeb7a8d0b6d4d82021"},
      {uninstall::kNotProductFolderText,
       "d0b6d4d8b3ccd0f2b2bbd4da5a656c766172c5fab4f2d3a1c8edbcfeb5c4b0b2d7b0cec4bcfebcd0d6d0a3ac"
       "cedeb7a8d0b6d4d82021"},
      {uninstall::kNotRemovedHeading, "d2d4cfc2c4dac8ddceb4c4dcc9beb3fda3ba0a0a"},
      {uninstall::kAutoCADRunningReason,
       "4175746f434144c8d4d4dad4cbd0d0a3bac7ebb9d8b1d54175746f434144baf3d4d9b4ced0b6d4d8a1a3"},
      {uninstall::kNoRightsReason,
       "c3bbd3d0c8a8cfdea3bac7ebd2d4b9dcc0edd4b1c9edb7ddd4cbd0d0d0b6d4d8b3ccd0f2a1a3"},
      {uninstall::kRunAgainText,
       "d0b6d4d8b3ccd0f2bacdcbfcd4daa1b0d3a6d3c3a1b1d6d0b5c4ccf5c4bfd2d1b1a3c1f4a3acbfc9d4d9b4ce"
       "d0b6d4d8a1a3"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(c.text), c.hex);
  }
}

TEST(UninstallTexts, TheFinalMessageListsWhatStayedAndWhy) {
  uninstall::RemovalReport report;
  EXPECT_EQ(uninstall::FinalMessage(report), uninstall::kDoneText);
  report.Add("C:\\a.dll", uninstall::RemovalRefused::AutoCADRunning);
  report.Add("HKEY_LOCAL_MACHINE\\K", uninstall::RemovalRefused::NoRights);
  EXPECT_EQ(uninstall::FinalMessage(report),
            std::string(uninstall::kNotRemovedHeading) + "C:\\a.dll\nHKEY_LOCAL_MACHINE\\K\n\n" +
                uninstall::kAutoCADRunningReason + "\n" + uninstall::kNoRightsReason + "\n" +
                uninstall::kRunAgainText);
  for (std::size_t k = 0; k < uninstall::kShownItems; ++k) {
    report.Add("x", uninstall::RemovalRefused::NoRights);
  }
  const std::string text = uninstall::FinalMessage(report);
  EXPECT_NE(text.find("x\n" + std::string(uninstall::kMoreNotRemoved) + "\n"), std::string::npos);
}

struct Conversation {
  const char* name;
  const char* productFolder;
  bool autoCADRunning;
  std::vector<int> answers;
  // Changes the installed machine before the uninstaller starts.
  void (*prepare)(Machine&);
  std::vector<const char*> shown;
};

void Nothing(Machine&) {}
void EntryWithoutLocation(Machine& m) {
  m.memory.registry.DeleteKey(RegRoot::LocalMachine, kInstalledAppsEntryPath);
  m.memory.registry.SetString(RegRoot::LocalMachine, kInstalledAppsEntryPath, "DisplayName", "x");
}
void WithoutAdministratorRights(Machine& m) { m.memory.processes.SetAdministrator(false); }
void EntryOfAnotherFolder(Machine& m) {
  m.memory.registry.SetString(RegRoot::LocalMachine, kInstalledAppsEntryPath, "InstallLocation",
                              "D:\\Other\\Zelvar批打印软件");
}

TEST(UninstallConversation, NoRefusalOrAWarningChangesNothing) {
  const Conversation cases[] = {
      {"no", kProduct, false, {mb::kIdNo}, Nothing, {uninstall::kConfirmText}},
      {"autocad-running-then-no",
       kProduct,
       true,
       {mb::kIdYes, mb::kIdOk, mb::kIdNo},
       Nothing,
       {uninstall::kConfirmText, uninstall::kCloseAutoCADText, uninstall::kConfirmText}},
      {"not-the-product-folder", kChosen, false, {mb::kIdOk}, Nothing,
       {uninstall::kNotProductFolderText}},
      {"entry-without-location", kProduct, false, {mb::kIdOk}, EntryWithoutLocation,
       {uninstall::kNoEntryText}},
      {"entry-of-another-folder", kProduct, false, {mb::kIdOk}, EntryOfAnotherFolder,
       {uninstall::kNoEntryText}},
      // An installation for every user, and no rights to take it out (elevation declined).
      {"machine-wide-without-rights", kProduct, false, {mb::kIdOk}, WithoutAdministratorRights,
       {uninstall::kNeedsAdministratorText}},
  };
  for (const Conversation& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    ASSERT_TRUE(m.Install());
    c.prepare(m);
    if (c.autoCADRunning) m.memory.processes.AddProcess("ACAD.EXE");
    for (const int answer : c.answers) m.memory.messages.QueueAnswer(answer);
    const auto registry = m.memory.registry.Snapshot();
    const auto files = m.memory.files.Snapshot();

    uninstall::RemovalReport report;
    EXPECT_FALSE(app::UninstallWithMessageBoxes(m.memory.Get(), m.memory.messages, c.productFolder, report));
    EXPECT_EQ(m.memory.registry.Snapshot(), registry);
    EXPECT_EQ(m.memory.files.Snapshot(), files);
    std::vector<std::string> shown;
    for (const auto& box : m.memory.messages.Shown()) {
      EXPECT_EQ(box.caption, uninstall::kUninstallCaption);
      shown.push_back(box.text);
    }
    EXPECT_EQ(shown, std::vector<std::string>(c.shown.begin(), c.shown.end()));
    EXPECT_EQ(m.memory.messages.UnscriptedCount(), 0u);
  }
}

TEST(UninstallConversation, ASecondYesWhileAutoCADRunsGoesOnAndNamesWhatStayedLocked) {
  Machine m;
  ASSERT_TRUE(m.Install());
  m.memory.processes.AddProcess("acad.exe");
  const std::string module = std::string(kProduct) + "\\ZV_BatchPlot2010.ARX";
  m.memory.files.HoldInUse(module);
  for (const int answer : {mb::kIdYes, mb::kIdOk, mb::kIdYes}) {
    m.memory.messages.QueueAnswer(answer);
  }
  uninstall::RemovalReport report;
  ASSERT_TRUE(app::UninstallWithMessageBoxes(m.memory.Get(), m.memory.messages, kProduct, report));

  EXPECT_EQ(report.notRemoved, std::vector<std::string>{module});
  const std::string last = m.memory.messages.Shown().back().text;
  EXPECT_NE(last.find(uninstall::kAutoCADRunningReason), std::string::npos);
  EXPECT_EQ(last.find(uninstall::kNoRightsReason), std::string::npos);
  // Everything else went; the way back stays.
  EXPECT_FALSE(m.memory.files.Exists(std::string(kProduct) + "\\ZV_BatchPlot2008.ARX"));
  EXPECT_TRUE(m.memory.files.Exists(kUninstaller));
  EXPECT_TRUE(m.memory.registry.KeyExists(RegRoot::LocalMachine, kInstalledAppsEntryPath));
}

// An administrator installed into one folder, the user into another: each uninstaller takes
// out its own folder's entry only.
TEST(UninstallConversation, AnEntryNamingAnotherFolderStays) {
  Machine m;
  ASSERT_TRUE(m.Install());
  const std::string other = "D:\\Other\\Zelvar批打印软件";
  m.memory.registry.SetString(RegRoot::CurrentUser, kInstalledAppsEntryPath, "InstallLocation",
                              other);
  m.memory.messages.QueueAnswer(mb::kIdYes);
  uninstall::RemovalReport report;
  ASSERT_TRUE(app::UninstallWithMessageBoxes(m.memory.Get(), m.memory.messages, kProduct, report));
  EXPECT_TRUE(report.Clean());
  EXPECT_FALSE(m.memory.registry.KeyExists(RegRoot::LocalMachine, kInstalledAppsEntryPath));
  EXPECT_EQ(m.memory.registry.ReadString(RegRoot::CurrentUser, kInstalledAppsEntryPath,
                                         "InstallLocation"),
            other);
}

// A file another program holds open, one the user may not delete, and any other refusal are
// each told for what they are.
TEST(UninstallConversation, EachRefusalIsToldForWhatItIs) {
  const std::string module = std::string(kProduct) + "\\ZV_BatchPlot2010.ARX";
  const struct {
    void (*refuse)(Machine&, const std::string&);
    const char* reason;
  } cases[] = {
      {[](Machine& m, const std::string& path) { m.memory.files.HoldOpen(path); },
       uninstall::kInUseReason},
      {[](Machine& m, const std::string&) { m.memory.files.DenyWrites(kProduct); },
       uninstall::kNoRightsReason},
  };
  for (const auto& c : cases) {
    Machine m;
    ASSERT_TRUE(m.Install());
    c.refuse(m, module);
    m.memory.messages.QueueAnswer(mb::kIdYes);
    uninstall::RemovalReport report;
    ASSERT_TRUE(app::UninstallWithMessageBoxes(m.memory.Get(), m.memory.messages, kProduct, report));
    const std::string last = m.memory.messages.Shown().back().text;
    for (const char* reason : {uninstall::kInUseReason, uninstall::kNoRightsReason}) {
      EXPECT_EQ(last.find(reason) != std::string::npos, reason == c.reason) << reason;
    }
  }
  platform::MemoryFileSystem files;
  uninstall::RemovalReport report;
  uninstall::ReportRefusal(files, module, 1117, false, report);
  EXPECT_EQ(report.notRemoved,
            std::vector<std::string>{module + uninstall::kErrorSeparator + files.ErrorText(1117)});
}

// A refused entry is no silent success: the user hears that installed apps cannot remove the
// plug-in, and why, before the finished look.
TEST(InstalledAppsEntry, ARefusedEntryIsToldBeforeTheFinishedLook) {
  Machine m;
  for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
    ASSERT_TRUE(m.memory.registry.DenyWriteTree(
        root, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall"));
  }
  ASSERT_TRUE(m.Install());
  install::ClosingProblems problems;
  problems.productFolder = kProduct;
  problems.entryError = m.memory.files.ErrorText(platform::reg::kAccessDenied);
  ASSERT_FALSE(m.memory.messages.Shown().empty());
  EXPECT_EQ(m.memory.messages.Shown().back().text, install::ClosingNotice(problems));
}

TEST(TrustedFolderRemoval, TakesOutOnlyTheFoldersOwnEntry) {
  const std::u16string folder = u"C:\\Zelvar\\Zelvar批打印软件";
  const struct {
    std::u16string value;
    std::u16string kept;
  } cases[] = {
      {u"D:\\TOOLS;E:\\LIB;;C:\\ZELVAR\\ZELVAR批打印软件", u"D:\\TOOLS;E:\\LIB;"},
      {u"C:\\ZELVAR\\ZELVAR批打印软件", u""},
      {u"c:\\zelvar\\zelvar批打印软件\\...;D:\\한국어", u"D:\\한국어"},
      {u"X;C:\\Zelvar\\Zelvar批打印软件\\;Y", u"X;Y"},
      // Only whole entries count: a folder inside it or beside it stays.
      {u"C:\\ZELVAR\\ZELVAR批打印软件\\SUB;C:\\ZELVAR\\ZELVAR批打印软件2;C:\\ZELVAR",
       u"C:\\ZELVAR\\ZELVAR批打印软件\\SUB;C:\\ZELVAR\\ZELVAR批打印软件2;C:\\ZELVAR"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(registration::RemoveTrustedFolder(c.value, folder), c.kept);
  }
}

TEST(InstalledAppsEntry, ListsTheProductWithItsUninstallerAndALaterInstallationReplacesIt) {
  Machine m;
  m.memory.registry.SetString(RegRoot::LocalMachine, kInstalledAppsEntryPath, "Stale", "x");
  m.memory.processes.SetLocalDate({2025, 3, 7});
  m.memory.files.AddFile("C:\\图纸\\总图.dwg", std::string(8000, 'x'), 0);
  ASSERT_TRUE(m.memory.files.AddFolder(kProduct) &&
              m.memory.files.AddFolderLink(std::string(kProduct) + "\\图纸", "C:\\图纸"));
  ASSERT_TRUE(m.Install());
  auto& r = m.memory.registry;
  const struct {
    const char* name;
    std::string text;
  } texts[] = {{"DisplayName", "Zelvar批打印软件"},
               {"DisplayVersion", "2024.4.26"},
               {"Publisher", "Zelvar"},
               {"InstallDate", "20250307"},
               {"DisplayIcon", kUninstaller},
               {"InstallLocation", kProduct},
               {"UninstallString", std::string("\"") + kUninstaller + "\""},
               {"QuietUninstallString", std::string("\"") + kUninstaller + "\" /quiet"}};
  for (const auto& t : texts) {
    EXPECT_EQ(r.ReadString(RegRoot::LocalMachine, kInstalledAppsEntryPath, t.name), t.text)
        << t.name;
  }
  EXPECT_EQ(r.ReadDword(RegRoot::LocalMachine, kInstalledAppsEntryPath, "NoModify"), 1u);
  EXPECT_EQ(r.ReadDword(RegRoot::LocalMachine, kInstalledAppsEntryPath, "NoRepair"), 1u);
  // A few package files of some 30 bytes each: under one KB, rounded up. The drawings that a
  // link there leads to are not the app's.
  EXPECT_EQ(r.ReadDword(RegRoot::LocalMachine, kInstalledAppsEntryPath, "EstimatedSize"), 1u);
  EXPECT_FALSE(r.ReadValue(RegRoot::LocalMachine, kInstalledAppsEntryPath, "Stale"));
  EXPECT_FALSE(r.KeyExists(RegRoot::CurrentUser, kInstalledAppsEntryPath));
}

TEST(InstalledAppsEntry, IsNotWrittenWithoutTheUninstaller) {
  Machine m;
  ASSERT_TRUE(m.memory.files.SetAttributes("C:\\Dist\\Data\\UnInstall.exe", platform::attr::kNormal));
  ASSERT_TRUE(m.memory.files.RemoveFile("C:\\Dist\\Data\\UnInstall.exe"));
  ASSERT_TRUE(m.Install());
  EXPECT_FALSE(m.memory.registry.KeyExists(RegRoot::LocalMachine, kInstalledAppsEntryPath));
  EXPECT_FALSE(m.memory.registry.KeyExists(RegRoot::CurrentUser, kInstalledAppsEntryPath));
}

void HoldAModule(Machine& m) {
  m.memory.files.HoldInUse(std::string(kProduct) + "\\ZV_BatchPlot2010.ARX");
}
void AutoCADRuns(Machine& m) { m.memory.processes.AddProcess("acad.exe"); }

// UnInstall.exe /quiet: no box, whatever happens; a refusal changes nothing.
TEST(QuietUninstall, AsksNothingAndEndsWithItsExitCode) {
  const struct {
    const char* name;
    const char* productFolder;
    void (*prepare)(Machine&);
    int code;
  } cases[] = {
      {"removed", kProduct, Nothing, app::kQuietRemoved},
      {"a-module-held-open", kProduct, HoldAModule, app::kQuietSomethingStayed},
      {"autocad-running", kProduct, AutoCADRuns, app::kQuietRefused},
      {"not-the-product-folder", kChosen, Nothing, app::kQuietRefused},
      {"entry-of-another-folder", kProduct, EntryOfAnotherFolder, app::kQuietRefused},
      {"machine-wide-without-rights", kProduct, WithoutAdministratorRights, app::kQuietRefused},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    ASSERT_TRUE(m.Install());
    c.prepare(m);
    const std::size_t shown = m.memory.messages.Shown().size();
    const auto registry = m.memory.registry.Snapshot();
    uninstall::RemovalReport report;
    EXPECT_EQ(app::UninstallQuietly(m.memory.Get(), c.productFolder, report), c.code);
    EXPECT_EQ(m.memory.messages.Shown().size(), shown);
    EXPECT_EQ(m.memory.registry.Snapshot() == registry, c.code == app::kQuietRefused);
  }
}

void DenyActiveSetup(Machine& m) {
  ASSERT_TRUE(m.memory.registry.DenyWriteTree(
      RegRoot::LocalMachine, "Software\\Microsoft\\Active Setup\\Installed Components"));
}
void NoRights(Machine& m) { m.TakeAwayRights(); }

// Only an administrator's installation for every user writes Active Setup's component; a
// refusal is told in the closing notice.
TEST(EveryUsersLogon, AnAdministratorsInstallationWritesActiveSetupsComponent) {
  // The machine's keys below SOFTWARE in the case the machine has them.
  const std::string component = std::string("HKLM\\SOFTWARE") + (install::kActiveSetupComponentPath + 8);
  const std::string quiet =
      std::string("\\SOFTWARE") + (kInstalledAppsEntryPath + 8) + " [QuietUninstallString]";
  const struct {
    const char* name;
    void (*prepare)(Machine&);
    std::vector<std::string> places;
    bool refused;
  } cases[] = {
      {"administrator", Nothing,
       {"+ key " + component, "+ value " + component + " [IsInstalled]",
        "+ value " + component + " [StubPath]", "+ value " + component + " [Version]",
        "+ value " + component + " []", "+ value HKLM" + quiet}, false},
      {"without-rights", NoRights, {"+ value HKCU" + quiet}, false},
      {"component-refused", DenyActiveSetup, {"+ value HKLM" + quiet}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Machine m;
    c.prepare(m);
    const auto before = m.memory.registry.Snapshot();
    ASSERT_TRUE(m.Install());
    std::vector<std::string> places;
    for (const std::string& line :
         platform::DescribeRegistryChanges(before, m.memory.registry.Snapshot())) {
      if (line.find("Active Setup") != std::string::npos ||
          line.find("[QuietUninstallString]") != std::string::npos) {
        places.push_back(line);
      }
    }
    std::sort(places.begin(), places.end());
    EXPECT_EQ(places, c.places);
    install::ClosingProblems refusal;
    refusal.activeSetupError = m.memory.files.ErrorText(platform::reg::kAccessDenied);
    const std::string paragraph = install::ClosingNotice(refusal);
    bool told = false;
    for (const auto& box : m.memory.messages.Shown()) {
      told = told || box.text.find(paragraph) != std::string::npos;
    }
    EXPECT_EQ(told, c.refused);
  }
  Machine m;
  ASSERT_TRUE(m.Install());
  EXPECT_EQ(m.memory.registry.ReadString(RegRoot::LocalMachine, install::kActiveSetupComponentPath,
                                         "StubPath"),
            registration::ActiveSetupStubPath(kProduct));
}

}  // namespace
}  // namespace uninstall_test
