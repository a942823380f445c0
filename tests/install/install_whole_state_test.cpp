// The whole machine before and after an installation: only the places the installation owns
// may change, installing twice changes nothing more, and any single write that fails leaves
// the rest of the machine as it was and the user told where it matters.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <string_view>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "tests/support/owned_places.h"
#include "ui/logic/install_command.h"

namespace install {
namespace {

using platform::RegRoot;

constexpr const char* kProduct = "C:\\Zelvar\\Zelvar批打印软件";
constexpr const char* kAppData = "C:\\Users\\User\\AppData\\Roaming";
constexpr const char* kAcad2008 = "C:\\Program Files (x86)\\AutoCAD 2008";
constexpr const char* kAcad2010 = "C:\\Program Files\\AutoCAD 2010";
constexpr const char* kAcad2021 = "D:\\Autodesk\\AutoCAD 2021";
// The roaming Support folders of the users' AutoCAD 2008 and 2021 (2010's user key names none).
constexpr const char* kSupport2008 =
    "C:\\Users\\User\\AppData\\Roaming\\Autodesk\\R17.1\\chs\\Support";
constexpr const char* kSupport2021 =
    "C:\\Users\\User\\AppData\\Roaming\\Autodesk\\AutoCAD 2021\\R24.0\\chs\\Support";
constexpr const char* kStaleUserKey =
    "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Applications\\ZV_BatchPlot2010";

// The dialog, reduced to what the installation hands it: the typed folder.
class QuietView final : public ui::InstallView {
 public:
  QuietView(std::string& targetFolder, std::string typed)
      : targetFolder_(targetFolder), typed_(std::move(typed)) {}
  platform::WindowRef Window() override { return 1; }
  void UpdateData(bool save) override {
    if (save) {
      targetFolder_ = typed_;
    }
  }
  void ShowControl(int, bool) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressStep(int) override {}
  void SetProgressPos(int) override {}
  void StepIt() override {}
  void EndWithCancel() override { ended = true; }
  void ShrinkToFinishButton() override { finished = true; }

  bool ended = false;
  bool finished = false;

 private:
  std::string& targetFolder_;
  std::string typed_;
};

// A user who answers every copy failure with Ignore, so the installation runs to its end.
class IgnoringUser final : public platform::MessageBoxes {
 public:
  int Show(platform::WindowRef, const char* text, const char*, std::uint32_t flags) override {
    shown.emplace_back(text);
    return (flags & platform::mb::kButtonsMask) == platform::mb::kAbortRetryIgnore
               ? platform::mb::kIdIgnore
               : platform::mb::kIdOk;
  }
  std::vector<std::string> shown;
};

// A machine with three AutoCAD releases, another plug-in, settings of other programs and the
// distribution C:\Dist.
struct Machine {
  Machine() {
    auto& r = memory.registry;
    const std::string wow = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\";
    const std::string native = "SOFTWARE\\Autodesk\\AutoCAD\\";
    for (const std::string& branch : {wow, native}) {
      r.SetString(RegRoot::LocalMachine, branch + "R17.1\\ACAD-6001:804", "ProductName",
                  "AutoCAD 2008 - 简体中文");
      r.SetString(RegRoot::LocalMachine, branch + "R17.1\\ACAD-6001:804", "AcadLocation", kAcad2008);
      r.SetString(RegRoot::LocalMachine, branch + "R17.1", "CurVer", "ACAD-6001:804");
    }
    r.SetString(RegRoot::LocalMachine, native + "R18.0\\ACAD-8001:804", "ProductName", "AutoCAD 2010");
    r.SetString(RegRoot::LocalMachine, native + "R18.0\\ACAD-8001:804", "AcadLocation", kAcad2010);
    r.SetDword(RegRoot::LocalMachine, native + "R18.0\\ACAD-8001:804", "LocaleId", 0x804);
    r.SetString(RegRoot::LocalMachine, native + "R18.0\\ACAD-8001:804\\Applications\\OtherPlugin",
                "LOADER", "C:\\Other\\Other.arx");
    r.SetDword(RegRoot::LocalMachine, native + "R18.0\\ACAD-8001:804\\Applications\\OtherPlugin",
               "LOADCTRLS", 14);
    r.CreateKeyPath(RegRoot::LocalMachine,
                    native + "R18.0\\ACAD-8001:804\\Applications\\OtherPlugin\\Commands");
    r.SetString(RegRoot::LocalMachine, native + "R24.0\\ACAD-4101:804", "ProductName", "AutoCAD 2021");
    r.SetString(RegRoot::LocalMachine, native + "R24.0\\ACAD-4101:804", "AcadLocation", kAcad2021);
    // An English AutoCAD 2021 beside the Chinese one, never started by this user: no user key.
    r.SetString(RegRoot::LocalMachine, native + "R24.0\\ACAD-4101:409", "ProductName", "AutoCAD 2021");
    r.SetString(RegRoot::LocalMachine, native + "R24.0\\ACAD-4101:409", "AcadLocation", kAcad2021);
    r.SetString(RegRoot::LocalMachine, "SOFTWARE\\Other\\Program", "Path", "C:\\Other");

    const std::string profiles = "SOFTWARE\\Autodesk\\AutoCAD\\";
    r.SetString(RegRoot::CurrentUser, profiles + "R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables",
                "TRUSTEDPATHS", "d:\\tools;E:\\Lib\\MyLib;");
    r.SetString(RegRoot::CurrentUser, profiles + "R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables",
                "FILEDIA", "1");
    r.SetString(RegRoot::CurrentUser, profiles + "R18.0\\ACAD-8001:804\\Profiles\\Default\\Variables",
                "FILEDIA", "0");
    r.CreateKeyPath(RegRoot::CurrentUser, profiles + "R24.0\\ACAD-4101:804\\Profiles\\Drafting");
    r.SetString(RegRoot::CurrentUser, profiles + "R99.9\\ACAD-F001:409\\Profiles\\P\\Variables",
                "TRUSTEDPATHS", "X:\\Somewhere");
    r.SetString(RegRoot::CurrentUser, "SOFTWARE\\Other", "Setting", "keep");
    // AutoCAD's own per-user settings, and a key left by an earlier installation for this
    // user alone.
    r.SetString(RegRoot::CurrentUser, profiles + "R17.1\\ACAD-6001:804", "RoamableRootFolder",
                std::string(kSupport2008, std::string_view(kSupport2008).size() - 7));
    r.SetString(RegRoot::CurrentUser, profiles + "R24.0\\ACAD-4101:804", "RoamableRootFolder",
                std::string(kSupport2021, std::string_view(kSupport2021).size() - 8));
    r.SetString(RegRoot::CurrentUser, kStaleUserKey, "LOADER", "D:\\Old\\ZV_BatchPlot2010.ARX");
    r.SetDword(RegRoot::CurrentUser, kStaleUserKey, "LOADCTRLS", 2);

    auto& f = memory.files;
    f.AddDrive('D');
    f.SetModulePath("C:\\Dist\\SetUp.exe");
    f.AddFile("C:\\Dist\\SetUp.exe", "setup");
    for (const char* name : {"SetUp.EXE", "Zelvar_EN.shx", "Zelvar_HZ.shx", "Zelvar.prt5",
                             "Zelvar.prt7", "Zelvar.prt8", "Zelvar.prt9", "Zelvar.Ini",
                             "ZV_BatchPlot2008.ARX", "ZV_BatchPlot2010.ARX",
                             "ZV_BatchPlot2021.ARX", "使用说明.txt"}) {
      f.AddFile(std::string("C:\\Dist\\Data\\") + name, std::string("package ") + name,
                platform::attr::kArchive | platform::attr::kReadOnly);
    }
    f.AddFile("C:\\Dist\\Data\\Extras\\More.txt", "not installed");
    for (const char* location : {kAcad2008, kAcad2010, kAcad2021}) {
      f.AddFile(std::string(location) + "\\Fonts\\txt.shx", "AutoCAD's own font");
      f.AddFile(std::string(location) + "\\acad.exe", "AutoCAD");
    }
    f.AddFile(std::string(kAcad2008) + "\\Drv\\pdfplot9.hdi", "AutoCAD's driver");
    f.AddFile(std::string(kAcad2008) + "\\Drv\\pdfplot8.hdi", "another driver");
    f.AddFile(std::string(kAcad2008) + "\\Fonts\\Zelvar_EN.shx", "old font", platform::attr::kReadOnly);
    f.AddFile("C:\\Zelvar\\Notes.txt", "the user's own file");
    f.AddFolder(kAppData);
    f.AddFolder(kSupport2008);
    f.AddFile(std::string(kSupport2021) + "\\acad.pgp", "the user's own commands");
    f.AddFile(std::string(kAppData) + "\\Other\\other.ini", "keep");
    f.SetEnvironment("APPDATA", kAppData);

    inventory.ScanAcadInstallations();
    flags.fill(1);
  }

  void Install() {
    QuietView view(targetFolder, typed);
    command.OnInstall(view, flags, targetFolder);
    ended = view.ended;
    finished = view.finished;
  }

  platform::MemoryPlatform memory;
  IgnoringUser user;
  platform::Platform machine{memory.registry, memory.files, memory.processes};
  discovery::InstallationInventory inventory{machine};
  ui::InstallCommand command{inventory, machine, user};
  discovery::ReleaseFlags flags{};
  std::string targetFolder;
  std::string typed = "C:\\Zelvar";  // there already, with the user's own file in it
  bool ended = false;
  bool finished = false;
};

bool StartsWith(std::string_view text, std::string_view head) {
  return text.substr(0, head.size()) == head;
}

bool Shows(const Machine& m, std::string_view head) {
  return std::any_of(m.user.shown.begin(), m.user.shown.end(),
                     [&](const std::string& text) { return StartsWith(text, head); });
}

// The path part of a change line: "+ C:\a" -> "C:\a"; "* C:\a attributes ..." -> "C:\a".
std::string FilePathOf(const std::string& line) {
  std::string path = line.substr(2);
  for (const char* tail : {" attributes", " contents"}) {
    const std::size_t at = path.find(tail);
    if (at != std::string::npos) {
      path.resize(at);
    }
  }
  return path;
}

using test_support::OwnedPlaces;

// The places an installation owns in the file system (a change line: "+ C:\a",
// "* C:\a attributes ...").
bool FileChangeAllowed(const OwnedPlaces& places, const std::string& line) {
  if (StartsWith(line, "- ")) {
    return false;  // an installation removes nothing
  }
  const std::string path = FilePathOf(line);
  if (places.OwnsFile(path)) {
    return true;
  }
  // The package's own files lose their read-only attribute, nothing else.
  return StartsWith(path, "C:\\Dist\\Data\\") && StartsWith(line, "* ") &&
         line.find(" attributes ") != std::string::npos;
}

// The places an installation owns in the registry: demand-load keys of the plug-in (below a
// user's product key too, never the product key itself) and the profiles' TRUSTEDPATHS (with
// a Variables key made for it). Only a user's demand-load key of the plug-in is ever removed.
bool RegistryChangeAllowed(const OwnedPlaces& places, const std::string& line) {
  // "+ key HKLM\A", "~ value HKCU\A [Name]": the key, and the value's name ("" for a key).
  const bool isKey = StartsWith(line.substr(2), "key ");
  std::string key = line.substr(isKey ? 6 : 8);
  std::string value;
  if (!isKey) {
    const std::size_t bracket = key.rfind(" [");
    if (bracket == std::string::npos) return false;
    value = key.substr(bracket + 2, key.size() - bracket - 3);
    key.resize(bracket);
  }
  if (OwnedPlaces::Holds(places.demandLoadKeys, key)) {
    if (StartsWith(line, "- ")) return StartsWith(key, "HKCU\\");
    return isKey ? StartsWith(line, "+ ")
                 : value == install::kLoadControlsValueName || value == install::kLoaderValueName;
  }
  if (StartsWith(line, "- ")) return false;
  if (isKey) {
    return StartsWith(line, "+ ") && (OwnedPlaces::Holds(places.applicationsKeys, key) ||
                                      OwnedPlaces::Holds(places.variablesKeys, key));
  }
  return OwnedPlaces::Holds(places.variablesKeys, key) && value == install::kTrustedPathsValueName;
}

std::vector<std::string> Disallowed(const std::vector<std::string>& changes,
                                    const OwnedPlaces& places,
                                    bool (*allowed)(const OwnedPlaces&, const std::string&)) {
  std::vector<std::string> wrong;
  std::copy_if(changes.begin(), changes.end(), std::back_inserter(wrong),
               [&](const std::string& line) { return !allowed(places, line); });
  return wrong;
}

struct State {
  platform::RegistrySnapshot registry;
  platform::FileTree files;
};

State Take(const Machine& m) { return {m.memory.registry.Snapshot(), m.memory.files.Snapshot()}; }

// What changed outside the installation's own places on `m`; empty when nothing did.
std::vector<std::string> ChangesOutsideTheInstallation(Machine& m, const State& before,
                                                       const State& after) {
  const OwnedPlaces places = test_support::OwnedPlacesOf(m.memory, m.inventory, kProduct);
  std::vector<std::string> wrong =
      Disallowed(platform::DescribeRegistryChanges(before.registry, after.registry), places,
                 RegistryChangeAllowed);
  const std::vector<std::string> files =
      Disallowed(platform::DescribeChanges(before.files, after.files), places, FileChangeAllowed);
  wrong.insert(wrong.end(), files.begin(), files.end());
  return wrong;
}

TEST(InstallWholeState, OnlyTheInstallationsOwnPlacesChange) {
  Machine m;
  const State before = Take(m);
  m.Install();
  ASSERT_TRUE(m.finished);
  const State after = Take(m);

  EXPECT_EQ(ChangesOutsideTheInstallation(m, before, after), std::vector<std::string>{});
  EXPECT_EQ(m.memory.files.FolderAccessOf(kProduct), platform::FolderAccess::MachineWide);
  EXPECT_EQ(m.memory.files.FolderAccessOf("C:\\Zelvar"), platform::FolderAccess::Inherited)
      << "a folder that was there is not the setup's to change";
  // It did change what it owns: the predicate is not simply true.
  EXPECT_GT(platform::DescribeRegistryChanges(before.registry, after.registry).size(), 10u);
  EXPECT_TRUE(m.user.shown.empty());
  EXPECT_FALSE(m.memory.registry.KeyExists(RegRoot::CurrentUser, kStaleUserKey))
      << "a user's old key would be read before the machine's";

  // Other programs' TRUSTEDPATHS entries survive, letter case aside.
  const auto trusted = m.memory.registry.ReadString(
      RegRoot::CurrentUser,
      "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables",
      "TRUSTEDPATHS");
  ASSERT_TRUE(trusted);
  for (const char* entry : {"d:\\tools", "E:\\Lib\\MyLib", kProduct}) {
    EXPECT_NE(ansi::FindText(*trusted, ansi::ToUpper(entry)), std::string::npos) << entry;
  }
}

TEST(InstallWholeState, ThePredicatesCatchAStrayChange) {
  Machine m;
  const State before = Take(m);
  m.memory.registry.SetString(RegRoot::LocalMachine, "SOFTWARE\\Other\\Program", "Path", "X");
  m.memory.files.AddFile(std::string(kAcad2010) + "\\Drv\\pdfplot9.hdi", "stray");
  EXPECT_EQ(ChangesOutsideTheInstallation(m, before, Take(m)).size(), 3u);
}

// TRUSTEDPATHS as AutoCAD reads it: entries compared without regard to case.
State WithTrustedPathsUpperCased(State state) {
  for (auto& key : state.registry.keys) {
    for (auto& value : key.values) {
      if (value.name == "TRUSTEDPATHS") {
        value.data = ansi::ToUpper(value.data);
      }
    }
  }
  return state;
}

TEST(InstallWholeState, InstallingTwiceEndsWhereInstallingOnceDid) {
  Machine m;
  m.Install();
  const State once = Take(m);
  m.Install();
  ASSERT_TRUE(m.finished);
  // The second run writes a value that held only the folder back in upper case.
  EXPECT_EQ(WithTrustedPathsUpperCased(Take(m)).registry,
            WithTrustedPathsUpperCased(once).registry);
  EXPECT_EQ(m.memory.files.Snapshot(), once.files);
}

// Without administrator rights: HKEY_LOCAL_MACHINE and AutoCAD's folders refuse every write.
void TakeAwayAdministratorRights(Machine& m) {
  m.memory.processes.SetAdministrator(false);
  m.memory.registry.DenyWriteTree(RegRoot::LocalMachine, "");
  for (const char* location : {kAcad2008, kAcad2010, kAcad2021}) {
    m.memory.files.DenyWrites(location);
  }
}

// A level left with the entries of the drive it is made on could be renamed by any user, and a
// folder of theirs put in its place.
TEST(InstallWholeState, TheLevelsItMakesAreClosedAsTheProductFolderIs) {
  for (const bool administrator : {true, false}) {
    Machine m;
    if (!administrator) TakeAwayAdministratorRights(m);
    m.typed = "D:\\CAD\\插件";
    m.Install();
    ASSERT_TRUE(m.finished);
    for (const char* level : {"D:\\CAD", "D:\\CAD\\插件", "D:\\CAD\\插件\\Zelvar批打印软件"}) {
      EXPECT_EQ(m.memory.files.FolderAccessOf(level),
                administrator ? platform::FolderAccess::MachineWide
                              : platform::FolderAccess::CurrentUserOnly)
          << level;
    }
  }
  // A level that stays open is named, not the product folder below it.
  Machine m;
  m.typed = "D:\\CAD\\插件";
  m.memory.files.SetWriteHook([](const std::string& source, const std::string& destination) {
    return source != platform::MemoryFileSystem::kFolderProtection || destination != "D:\\CAD";
  });
  m.Install();
  EXPECT_TRUE(Shows(m, "未能限制安装文件夹 D:\\CAD 的访问权限")) << testing::PrintToString(m.user.shown);
}

TEST(InstallWholeState, WithoutAdministratorRightsOnlyTheUsersOwnPlacesChange) {
  Machine m;
  TakeAwayAdministratorRights(m);
  const State before = Take(m);
  m.Install();
  ASSERT_TRUE(m.finished);
  const State once = Take(m);

  EXPECT_EQ(ChangesOutsideTheInstallation(m, before, once), std::vector<std::string>{});
  EXPECT_EQ(m.memory.files.FolderAccessOf(kProduct), platform::FolderAccess::CurrentUserOnly);
  std::vector<std::string> registry;
  for (const std::string& line : platform::DescribeRegistryChanges(before.registry, once.registry)) {
    if (line.find("TRUSTEDPATHS") == std::string::npos &&
        line.find("\\Variables") == std::string::npos) {
      registry.push_back(line);
    }
  }
  const std::string user = "HKCU\\SOFTWARE\\Autodesk\\AutoCAD\\";
  std::sort(registry.begin(), registry.end());
  EXPECT_EQ(registry,
            (std::vector<std::string>{
                "+ key " + user + "R17.1\\ACAD-6001:804\\Applications",
                "+ key " + user + "R17.1\\ACAD-6001:804\\Applications\\ZV_BatchPlot2008",
                "+ key " + user + "R24.0\\ACAD-4101:804\\Applications",
                "+ key " + user + "R24.0\\ACAD-4101:804\\Applications\\ZV_BatchPlot2021",
                "+ value " + user + "R17.1\\ACAD-6001:804\\Applications\\ZV_BatchPlot2008 [LOADCTRLS]",
                "+ value " + user + "R17.1\\ACAD-6001:804\\Applications\\ZV_BatchPlot2008 [LOADER]",
                "+ value " + user + "R24.0\\ACAD-4101:804\\Applications\\ZV_BatchPlot2021 [LOADCTRLS]",
                "+ value " + user + "R24.0\\ACAD-4101:804\\Applications\\ZV_BatchPlot2021 [LOADER]",
                "~ value " + user + "R18.0\\ACAD-8001:804\\Applications\\ZV_BatchPlot2010 [LOADER]"}));
  std::vector<std::string> files;
  for (const std::string& line : platform::DescribeChanges(before.files, once.files)) {
    if (line.find(kProduct) == std::string::npos && line.find("C:\\Dist\\") == std::string::npos &&
        line.find(std::string(kAppData) + "\\Zelvar") == std::string::npos && line != "+ C:\\Zelvar") {
      files.push_back(line);
    }
  }
  std::sort(files.begin(), files.end());
  EXPECT_EQ(files, (std::vector<std::string>{
                       "+ " + std::string(kSupport2021) + "\\Zelvar_EN.shx",
                       "+ " + std::string(kSupport2021) + "\\Zelvar_HZ.shx",
                       "+ " + std::string(kSupport2008) + "\\Zelvar_EN.shx",
                       "+ " + std::string(kSupport2008) + "\\Zelvar_HZ.shx"}));
  EXPECT_EQ(m.user.shown,
            std::vector<std::string>{
                "以下AutoCAD的设置未能完成：\n\n"
                "AutoCAD 2008 缺少：PDF打印驱动\n"
                "AutoCAD 2010 缺少：字体\n"
                "AutoCAD 2021 缺少：自动加载插件、字体\n"
                "其余设置仅供当前Windows用户使用。\n\n"
                "请先启动并关闭一次相应的AutoCAD，再重新运行SetUp.exe；"
                "或以管理员身份运行SetUp.exe重新安装。"});

  m.Install();
  EXPECT_EQ(WithTrustedPathsUpperCased(Take(m)).registry,
            WithTrustedPathsUpperCased(once).registry);
  EXPECT_EQ(m.memory.files.Snapshot(), once.files);
}

// Which kind of place a failed write was meant for, and what the user must then hear.
enum class Expect { CopyPrompt, Notice, ClosingNotice, Nothing };

Expect ForFileWrite(const std::string& source, const std::string& destination) {
  if (source == platform::MemoryFileSystem::kFolderProtection ||
      source == platform::MemoryFileSystem::kWholeFileWrite) {
    return Expect::ClosingNotice;  // the folder's DACL, the record of installed files
  }
  if (destination.find("\\Fonts\\") != std::string::npos ||
      destination.find("\\Drv\\") != std::string::npos ||
      destination.find("\\Support\\") != std::string::npos) {
    return Expect::Notice;
  }
  if (source.empty()) {
    // The chosen and the product folder are each made twice (before the copy and by it), so
    // one failure alone goes unnoticed; the settings folder is made once, and without it the
    // settings file cannot be copied.
    return destination == std::string(kAppData) + "\\Zelvar" ? Expect::CopyPrompt
                                                             : Expect::Nothing;
  }
  return Expect::CopyPrompt;
}

Expect ForRegistryWrite(const platform::RegistryWrite& write) {
  if (write.root == RegRoot::CurrentUser || write.kind == platform::RegistryWriteKind::DeleteKey) {
    return Expect::Nothing;
  }
  return Expect::Notice;
}

// Without administrator rights the notice comes whatever else fails.
void CheckAfterFailure(Machine& m, const State& before, Expect expect, bool rights,
                       const std::string& what) {
  SCOPED_TRACE(what + (rights ? "" : " (without administrator rights)"));
  EXPECT_TRUE(m.finished) << "Ignore lets every installation run to its end";
  EXPECT_EQ(ChangesOutsideTheInstallation(m, before, Take(m)), std::vector<std::string>{});
  const bool prompt = Shows(m, "拷贝文件 ");
  // A refused machine-wide place is either taken over by the user's own or named.
  const bool warning = Shows(m, "插件已安装，但仅供当前Windows用户使用") ||
                       Shows(m, "以下AutoCAD的设置未能完成");
  switch (expect) {
    case Expect::CopyPrompt:
      EXPECT_TRUE(prompt);
      EXPECT_EQ(warning, !rights);
      break;
    case Expect::Notice:
      EXPECT_TRUE(warning);
      EXPECT_FALSE(prompt);
      break;
    case Expect::ClosingNotice:
      EXPECT_TRUE(Shows(m, "未能限制安装文件夹 ") || Shows(m, "未能写入安装文件夹 "));
      EXPECT_FALSE(prompt);
      break;
    case Expect::Nothing:
      EXPECT_EQ(warning, !rights);
      break;
  }
}

TEST(InstallWholeState, EachRegistryWriteFailingInTurnIsHandled) {
  for (const bool rights : {true, false}) {
    std::size_t writes = 0;
    {
      Machine m;
      if (!rights) TakeAwayAdministratorRights(m);
      const std::size_t before = m.memory.registry.WriteCount();
      m.Install();
      writes = m.memory.registry.WriteCount() - before;
    }
    ASSERT_GT(writes, 10u);
    for (std::size_t failing = 0; failing < writes; ++failing) {
      Machine m;
      if (!rights) TakeAwayAdministratorRights(m);
      const State before = Take(m);
      std::size_t seen = 0;
      platform::RegistryWrite failed;
      m.memory.registry.SetWriteHook([&](const platform::RegistryWrite& write) -> long {
        if (seen++ == failing) {
          failed = write;
          return platform::reg::kAccessDenied;
        }
        return 0;
      });
      m.Install();
      CheckAfterFailure(m, before, ForRegistryWrite(failed), rights,
                        "registry write " + std::to_string(failing) + " " + failed.keyPath + " [" +
                            failed.valueName + "]");
    }
  }
}

TEST(InstallWholeState, EachFileWriteFailingInTurnIsHandled) {
  for (const bool rights : {true, false}) {
    std::size_t writes = 0;
    {
      Machine m;
      if (!rights) TakeAwayAdministratorRights(m);
      m.memory.files.SetWriteHook([&](const std::string&, const std::string&) {
        ++writes;
        return true;
      });
      m.Install();
    }
    ASSERT_GT(writes, 10u);
    for (std::size_t failing = 0; failing < writes; ++failing) {
      Machine m;
      if (!rights) TakeAwayAdministratorRights(m);
      const State before = Take(m);
      std::size_t seen = 0;
      std::string failedSource;
      std::string failedDestination;
      m.memory.files.SetWriteHook([&](const std::string& source, const std::string& destination) {
        if (seen++ == failing) {
          failedSource = source;
          failedDestination = destination;
          return false;
        }
        return true;
      });
      m.Install();
      CheckAfterFailure(m, before, ForFileWrite(failedSource, failedDestination), rights,
                        "file write " + std::to_string(failing) + " " + failedSource + " -> " +
                            failedDestination);
    }
  }
}

}  // namespace
}  // namespace install
