#include "install/install_sequence.h"
#include "install/product_folder.h"
#include "ui/logic/install_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/memory/memory_platform.h"

namespace install {
namespace {

using platform::RegRoot;

constexpr platform::WindowRef kDialog = 0x4242;
constexpr const char* kProductKey = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
constexpr const char* kAcad2008 = "C:\\Program Files\\AutoCAD 2008";
constexpr const char* kProfile =
    "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables";

// One log for the dialog's calls and the message boxes, so a test sees their order.
struct CallLog {
  std::vector<std::string> calls;
};

// The dialog as the installation drives it. UpdateData(true) pulls what the "user" typed.
class RecordingView final : public ui::InstallView {
 public:
  explicit RecordingView(CallLog& log) : log_(log) {}

  platform::WindowRef Window() override { return kDialog; }
  void UpdateData(bool save) override {
    log_.calls.push_back(save ? "pull" : "push");
    if (save) {
      *targetFolder = typedFolder;
    }
  }
  void ShowControl(int id, bool show) override {
    log_.calls.push_back((show ? "show " : "hide ") + std::to_string(id));
  }
  void SetProgressRange(int minimum, int maximum) override {
    log_.calls.push_back("range " + std::to_string(minimum) + "-" + std::to_string(maximum));
  }
  void SetProgressStep(int step) override { log_.calls.push_back("step " + std::to_string(step)); }
  void SetProgressPos(int position) override {
    log_.calls.push_back("pos " + std::to_string(position));
  }
  void StepIt() override { log_.calls.push_back("stepit"); }
  void EndWithCancel() override { log_.calls.push_back("end IDCANCEL"); }
  void ShrinkToFinishButton() override { log_.calls.push_back("shrink"); }

  std::string typedFolder = "C:\\Zelvar";
  std::string* targetFolder = nullptr;

 private:
  CallLog& log_;
};

// Message boxes answered from the script of the in-memory platform, entered into the log.
class LoggedMessageBoxes final : public platform::MessageBoxes {
 public:
  LoggedMessageBoxes(CallLog& log, platform::ScriptedMessageBoxes& script)
      : log_(log), script_(script) {}
  int Show(platform::WindowRef owner, const char* text, const char* caption,
           std::uint32_t flags) override {
    log_.calls.push_back(std::string("message ") + text);
    return script_.Show(owner, text, caption, flags);
  }

 private:
  CallLog& log_;
  platform::ScriptedMessageBoxes& script_;
};

// A machine with AutoCAD 2008 (found by the scan, with Fonts and Drv folders and one profile)
// and the distribution C:\Dist with its Data folder.
class InstallSequenceTest : public ::testing::Test {
 protected:
  InstallSequenceTest() {
    memory.registry.CreateKeyPath(RegRoot::LocalMachine, kProductKey);
    memory.registry.CreateKeyPath(RegRoot::CurrentUser, kProfile);
    memory.files.AddFolder(std::string(kAcad2008) + "\\Fonts");
    memory.files.AddFolder(std::string(kAcad2008) + "\\Drv");
    inventory.acadLocations[1].push_back(kAcad2008);
    inventory.productKeyPaths[1].push_back(kProductKey);
    flags[1] = 1;

    memory.files.SetModulePath("C:\\Dist\\SetUp.exe");
    memory.files.SetEnvironment("APPDATA", "C:\\Users\\User\\AppData\\Roaming");
    memory.files.AddFolder("C:\\Users\\User\\AppData\\Roaming");
    for (const char* name : {"ZV_BatchPlot2008.ARX", "ZV_BatchPlot2010.ARX", "Zelvar_EN.shx",
                             "Zelvar_HZ.shx", "Zelvar.prt5", "Zelvar.Ini"}) {
      memory.files.AddFile(std::string("C:\\Dist\\Data\\") + name, name);
    }
    view.targetFolder = &targetFolder;
  }

  void Click() { command.OnInstall(view, flags, targetFolder); }

  // The log without the package copy's steps, which depend on the listing.
  std::vector<std::string> CallsWithoutCopySteps() const {
    std::vector<std::string> calls;
    const auto copyStart = std::find(log.calls.begin(), log.calls.end(), "pos 0");
    for (auto it = log.calls.begin(); it != log.calls.end(); ++it) {
      const bool inCopy = copyStart != log.calls.end() && it > copyStart &&
                          *it == "stepit" && CopyStepsRemain(it);
      if (!inCopy) {
        calls.push_back(*it);
      }
    }
    return calls;
  }

  // True while `it` lies before the last three steps of the run (the sequence's own).
  bool CopyStepsRemain(std::vector<std::string>::const_iterator it) const {
    return std::count(it, log.calls.cend(), std::string("stepit")) > 3;
  }

  std::vector<std::string> FinishedLook() const {
    std::vector<std::string> look{"show 1023", "show 1021", "hide 1016", "hide 1014",
                                  "show 1",    "hide 1022", "hide 2"};
    for (const int id : {1018, 1019, 1020, 1027, 1026, 1028, 1029, 1030, 1031, 1032, 1033, 1034,
                         1035, 1036, 1037, 1038, 1039, 1040, 1041}) {
      look.push_back("hide " + std::to_string(id));
    }
    look.push_back("push");
    look.push_back("shrink");
    return look;
  }

  static std::vector<std::string> Join(std::vector<std::string> a,
                                       const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
  }

  platform::MemoryPlatform memory;
  CallLog log;
  LoggedMessageBoxes messages{log, memory.messages};
  platform::Platform machine{memory.registry, memory.files, memory.processes};
  discovery::InstallationInventory inventory{machine};
  ui::InstallCommand command{inventory, machine, messages};
  RecordingView view{log};
  discovery::ReleaseFlags flags{};
  std::string targetFolder;

  const std::vector<std::string> installing{
      "pull",   "hide 1017", "hide 1000", "hide 1015", "show 1014",
      "range 0-50", "step 1", "pos 0"};
  const std::vector<std::string> afterCopy{"stepit", "stepit", "stepit", "pos 50"};
};

TEST_F(InstallSequenceTest, AClickInstallsRegistersAndEndsInTheFinishedLook) {
  Click();

  EXPECT_EQ(CallsWithoutCopySteps(), Join(Join(installing, afterCopy), FinishedLook()));
  // "." and "..", six files, and the end of the listing.
  EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "stepit"), 9 + 3);

  const std::string product = "C:\\Zelvar\\Zelvar批打印软件";
  EXPECT_EQ(targetFolder, product) << "the hidden edit box shows the product folder";
  EXPECT_EQ(inventory.installFolder, product);
  EXPECT_TRUE(memory.files.Exists(product + "\\ZV_BatchPlot2008.ARX"));
  EXPECT_TRUE(memory.files.Exists("C:\\Users\\User\\AppData\\Roaming\\Zelvar\\Zelvar.Ini"));
  const std::string demandLoad = std::string(kProductKey) + "Applications\\ZV_BatchPlot2008";
  EXPECT_EQ(memory.registry.ReadString(RegRoot::LocalMachine, demandLoad, "LOADER"),
            product + "\\ZV_BatchPlot2008.ARX");
  EXPECT_EQ(memory.registry.ReadString(RegRoot::CurrentUser, kProfile, "TRUSTEDPATHS"), product);
  EXPECT_TRUE(memory.files.Exists(std::string(kAcad2008) + "\\Fonts\\Zelvar_HZ.shx"));
  EXPECT_TRUE(memory.files.Exists(std::string(kAcad2008) + "\\Drv\\pdfplot9.hdi"));
  EXPECT_TRUE(memory.messages.Shown().empty());
}

TEST_F(InstallSequenceTest, RunningAutoCADIsNamedOnceAndTheNextClickInstalls) {
  memory.processes.SetProcesses({"explorer.exe", "ACAD.EXE"});
  const platform::FileTree files = memory.files.Snapshot();

  Click();

  EXPECT_EQ(log.calls, std::vector<std::string>{"message 请关闭AutoCAD后再进行安装 !"});
  ASSERT_EQ(memory.messages.Shown().size(), 1u);
  EXPECT_EQ(memory.messages.Shown()[0].owner, kDialog);
  EXPECT_EQ(memory.messages.Shown()[0].caption, "Zelvar软件安装");
  EXPECT_EQ(memory.messages.Shown()[0].flags, platform::mb::kOk);
  EXPECT_TRUE(platform::DescribeChanges(files, memory.files.Snapshot()).empty());

  log.calls.clear();
  Click();
  EXPECT_EQ(memory.messages.Shown().size(), 1u) << "the warning comes once per run";
  EXPECT_EQ(memory.processes.SnapshotsTaken(), 1u) << "nor is the process list read again";
  EXPECT_EQ(log.calls.back(), "shrink");
}

TEST_F(InstallSequenceTest, AbortEndsTheDialogWithCopiesKeptAndNothingRegistered) {
  memory.files.SetWriteHook([](const std::string& source, const std::string& destination) {
    return source.empty() || destination.find("ZV_BatchPlot2010") == std::string::npos;
  });
  memory.messages.QueueAnswer(platform::mb::kIdAbort);

  Click();

  EXPECT_EQ(log.calls.back(), "end IDCANCEL");
  EXPECT_EQ(std::count(log.calls.begin(), log.calls.end(), "show 1023"), 0);
  EXPECT_TRUE(inventory.installFolder.empty());
  EXPECT_FALSE(memory.registry.KeyExists(RegRoot::LocalMachine,
                                          std::string(kProductKey) + "Applications"));
  EXPECT_FALSE(memory.registry.ReadString(RegRoot::CurrentUser, kProfile, "TRUSTEDPATHS"));
  EXPECT_FALSE(memory.files.Exists(std::string(kAcad2008) + "\\Fonts\\Zelvar_EN.shx"));
}

TEST_F(InstallSequenceTest, AMissingDataFolderEndsTheDialogToo) {
  memory.files.SetModulePath("C:\\Downloads\\SetUp.exe");
  Click();
  EXPECT_EQ(log.calls.back(), "end IDCANCEL");
  EXPECT_EQ(log.calls[log.calls.size() - 2].rfind("message 未找到安装所需的Data文件夹", 0), 0u);
  EXPECT_FALSE(memory.registry.KeyExists(RegRoot::LocalMachine,
                                          std::string(kProductKey) + "Applications"));
  EXPECT_FALSE(memory.files.Exists("C:\\Zelvar")) << "nothing is made before the package is found";
}

TEST_F(InstallSequenceTest, AFolderNotAbsoluteOrTooLongIsRefusedBeforeAnythingIsCreated) {
  std::string chinese;  // 120 characters, 240 bytes
  for (int i = 0; i < 120; ++i) chinese += "字";
  for (const std::string& folder :
       {std::string(), std::string("\\"), std::string("Zelvar"), std::string("\\Zelvar"),
        std::string("Zelvar批打印\\"), std::string("1:\\data"), std::string("\\\\server"),
        std::string("\\\\server\\"), std::string("C:Zelvar"),
        // TRUSTEDPATHS would take it for two folders, "C:\a" among them.
        std::string("C:\\a;b"),
        // A product folder of 260 bytes but only 134 characters, which Windows would create.
        "C:\\" + chinese,
        // A product folder of 254 bytes but 248 characters, which Windows cannot create.
        "C:\\" + std::string(234, 'x')}) {
    SCOPED_TRACE(folder);
    log.calls.clear();
    memory.messages = platform::ScriptedMessageBoxes();
    view.typedFolder = folder;
    const platform::FileTree files = memory.files.Snapshot();

    Click();

    EXPECT_EQ(log.calls, (std::vector<std::string>{
                             "pull", "message 安装路径无效，请重新选择安装路径 !"}));
    EXPECT_TRUE(platform::DescribeChanges(files, memory.files.Snapshot()).empty());
    ASSERT_EQ(memory.messages.Shown().size(), 1u);
    EXPECT_EQ(memory.messages.Shown()[0].flags, platform::mb::kOk);
  }
}

TEST_F(InstallSequenceTest, ADriveRootAndADoubledBackslashAreTakenAsTheyAre) {
  view.typedFolder = "C:\\";
  Click();
  EXPECT_EQ(targetFolder, "C:\\Zelvar批打印软件");
  EXPECT_TRUE(memory.files.Exists("C:\\Zelvar批打印软件\\ZV_BatchPlot2008.ARX"));

  view.typedFolder = "C:\\Zelvar\\\\";
  Click();
  EXPECT_EQ(targetFolder, "C:\\Zelvar\\\\Zelvar批打印软件");
  EXPECT_EQ(inventory.installFolder, "C:\\Zelvar\\\\Zelvar批打印软件");
  EXPECT_TRUE(memory.files.Exists("C:\\Zelvar\\Zelvar批打印软件\\ZV_BatchPlot2008.ARX"));
  EXPECT_TRUE(memory.messages.Shown().empty());
}

TEST_F(InstallSequenceTest, WithoutMachineWideRightsTheUserIsToldWhomThePluginServesFirst) {
  // The user has started AutoCAD 2008 once: the product key exists below HKEY_CURRENT_USER.
  struct Case {
    bool foldersRefused;
    const char* notice;
    std::uint32_t flags;
  };
  for (const Case& c : {
           Case{false,
                "插件已安装，但仅供当前Windows用户使用。\n\n"
                "如需供本机所有用户使用，请以管理员身份运行SetUp.exe重新安装。",
                platform::mb::kOk | 0x40u},
           Case{true,
                "以下AutoCAD的设置未能完成：\n\nAutoCAD 2008 缺少：字体、PDF打印驱动\n"
                "其余设置仅供当前Windows用户使用。\n\n"
                "请先启动并关闭一次相应的AutoCAD，再重新运行SetUp.exe；"
                "或以管理员身份运行SetUp.exe重新安装。",
                platform::mb::kOk | platform::mb::kIconExclamation}}) {
    SCOPED_TRACE(c.foldersRefused);
    memory.registry.DenyWriteTree(RegRoot::LocalMachine, "");
    if (c.foldersRefused) memory.files.DenyWrites(kAcad2008);
    log.calls.clear();
    memory.messages = platform::ScriptedMessageBoxes();

    Click();

    const std::vector<std::string> expected = Join(
        Join(Join(installing, afterCopy), {std::string("message ") + c.notice}), FinishedLook());
    EXPECT_EQ(CallsWithoutCopySteps(), expected);
    ASSERT_EQ(memory.messages.Shown().size(), 1u);
    EXPECT_EQ(memory.messages.Shown()[0].owner, kDialog);
    EXPECT_EQ(memory.messages.Shown()[0].caption, "Zelvar软件安装");
    EXPECT_EQ(memory.messages.Shown()[0].flags, c.flags);
    EXPECT_EQ(memory.registry.ReadString(
                  RegRoot::CurrentUser,
                  "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Applications\\ZV_BatchPlot2008",
                  "LOADER"),
              "C:\\Zelvar\\Zelvar批打印软件\\ZV_BatchPlot2008.ARX");
  }
}

TEST_F(InstallSequenceTest, WithNoAutoCADFoundThePackageIsStillInstalledQuietly) {
  inventory.acadLocations = {};
  inventory.productKeyPaths = {};
  Click();
  EXPECT_EQ(log.calls.back(), "shrink");
  EXPECT_TRUE(memory.messages.Shown().empty());
  EXPECT_TRUE(memory.files.Exists("C:\\Zelvar\\Zelvar批打印软件\\ZV_BatchPlot2010.ARX"));
  EXPECT_FALSE(memory.registry.KeyExists(RegRoot::LocalMachine,
                                          std::string(kProductKey) + "Applications"));
}

// The work without a dialog: what it is asked and told, in order, and what it reports.
struct Listener final : InstallPrompts, InstallProgress {
  void PackageMissing() override { heard.push_back("package missing"); }
  CopyFailedAnswer CopyFailed(const std::string& path) override {
    heard.push_back("failed " + path);
    return CopyFailedAnswer::Abort;
  }
  void Registered(const registration::RegistrationOutcome&) override {
    heard.push_back("registered");
  }
  void Closing(const ClosingProblems& problems) override {
    heard.push_back(problems.Any() ? "problems" : "closed");
  }
  void Started() override { heard.push_back("started"); }
  void StepIt() override {}
  void Finished() override { heard.push_back("finished"); }
  std::vector<std::string> heard;
};

TEST_F(InstallSequenceTest, TheWorkAsksOnlyWhenACopyFailsAndReportsHowItEnded) {
  const std::string product = "C:\\Zelvar\\Zelvar批打印软件";
  const struct {
    const char* modulePath;
    const char* refusedFile;
    InstallEnd end;
    std::vector<std::string> heard;
  } cases[] = {
      {"C:\\Dist\\SetUp.exe", "", InstallEnd::Installed,
       {"started", "finished", "registered", "closed"}},
      {"C:\\Dist\\SetUp.exe", "ZV_BatchPlot2010", InstallEnd::Aborted,
       {"started", "failed " + product + "\\ZV_BatchPlot2010.ARX"}},
      {"C:\\Downloads\\SetUp.exe", "", InstallEnd::PackageMissing,
       {"started", "package missing"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refusedFile);
    memory.files.SetModulePath(c.modulePath);
    memory.files.SetWriteHook([&c](const std::string& source, const std::string& destination) {
      return source.empty() || *c.refusedFile == '\0' ||
             destination.find(c.refusedFile) == std::string::npos;
    });
    Listener listener;
    const InstallReport report =
        Install(machine, inventory, {flags, "C:\\Zelvar\\"}, listener, listener);
    EXPECT_EQ(report.end, c.end);
    EXPECT_EQ(report.productFolder, product);
    EXPECT_EQ(listener.heard, c.heard);
    EXPECT_TRUE(log.calls.empty()) << "no dialog and no message box";
  }
}

TEST(FolderCanBeMade, UnderTheBufferInBytesAndUnderTheFolderLimitInCharacters) {
  std::string chinese;
  for (int i = 0; i < 128; ++i) chinese += "字";
  const struct {
    std::string folder;
    bool fits;
  } cases[] = {
      {"C:\\" + std::string(244, 'x'), true},      // 247 characters
      {"C:\\" + std::string(245, 'x'), false},     // 248 characters
      {"C:\\" + chinese, true},        // 259 bytes, 131 characters
      {"C:\\" + chinese + "x", false},  // 260 bytes
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FolderCanBeMade(c.folder), c.fits) << c.folder.size() << " bytes";
  }
}

TEST(AbsoluteFolder, DrivesAndSharesOnly) {
  for (const char* folder : {"C:", "c:\\", "D:\\Zelvar", "\\\\server\\share",
                             "\\\\server\\share\\dir", "C:\\Zelvar\\"}) {
    EXPECT_TRUE(IsAbsoluteFolder(folder)) << folder;
  }
  for (const char* folder : {"", "C", ":\\", "CC:\\", "C:Zelvar", "\\\\", "\\\\\\share",
                             "\\\\server\\\\share", "relative\\path"}) {
    EXPECT_FALSE(IsAbsoluteFolder(folder)) << folder;
  }
}

}  // namespace
}  // namespace install
