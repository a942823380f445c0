#pragma once

// A machine in memory with AutoCAD installations, other programs' settings and a distribution
// of the plug-in, which the tests install from and then take the plug-in out of again.

#include <string>
#include <string_view>
#include <vector>

#include "discovery/installation_inventory.h"
#include "ui/logic/install_command.h"
#include "platform/ansi_text.h"
#include "platform/code_page.h"
#include "platform/memory/memory_platform.h"

namespace uninstall_test {

using platform::RegRoot;

// A text of the tests (code page 936 bytes, as every narrow literal) in the active code page.
inline std::string InCodePage(const char* text) {
  return code_page::FromUtf16(ansi::ActiveCodePage(), code_page::ToUtf16(936, text));
}

inline constexpr const char* kChosen = "C:\\Zelvar";
inline constexpr const char* kProduct = "C:\\Zelvar\\Zelvar批打印软件";
inline constexpr const char* kUninstaller = "C:\\Zelvar\\Zelvar批打印软件\\UnInstall.exe";
inline constexpr const char* kAppData = "C:\\Users\\User\\AppData\\Roaming";
inline constexpr const char* kAcad2008 = "C:\\Program Files (x86)\\AutoCAD 2008";
inline constexpr const char* kAcad2010 = "C:\\Program Files\\AutoCAD 2010";
inline constexpr const char* kSupport2010 =
    "C:\\Users\\User\\AppData\\Roaming\\Autodesk\\R18.0\\chs\\Support";
inline constexpr const char* kProfile2008 =
    "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\Profiles\\<<未命名配置>>\\Variables";
inline constexpr const char* kProfile2010 =
    "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\Default\\Variables";
// Another program's key of the plug-in's name, whose module lies elsewhere.
inline constexpr const char* kForeignKey =
    "Software\\Autodesk\\AutoCAD\\R19.0\\ACAD-9001:804\\Applications\\ZV_BatchPlot2013";

// The setup's dialog reduced to the folder the user typed.
class QuietView final : public ui::InstallView {
 public:
  QuietView(std::string& folderMember, std::string typedFolder)
      : folder(folderMember), typed(std::move(typedFolder)) {}
  platform::WindowRef Window() override { return 1; }
  void UpdateData(bool save) override {
    if (save) folder = typed;
  }
  void ShowControl(int, bool) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressStep(int) override {}
  void SetProgressPos(int) override {}
  void StepIt() override {}
  void EndWithCancel() override {}
  void ShrinkToFinishButton() override { finished = true; }
  std::string& folder;
  std::string typed;
  bool finished = false;
};

struct Machine {
  Machine() {
    auto& r = memory.registry;
    for (const std::string branch : {"SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\",
                                     "SOFTWARE\\Autodesk\\AutoCAD\\"}) {
      r.SetString(RegRoot::LocalMachine, branch + "R17.1\\ACAD-6001:804", "ProductName",
                  "AutoCAD 2008 - 简体中文");
      r.SetString(RegRoot::LocalMachine, branch + "R17.1\\ACAD-6001:804", "AcadLocation",
                  kAcad2008);
    }
    const std::string native = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804";
    r.SetString(RegRoot::LocalMachine, native, "ProductName", "AutoCAD 2010");
    r.SetString(RegRoot::LocalMachine, native, "AcadLocation", kAcad2010);
    r.SetString(RegRoot::LocalMachine, native + "\\Applications\\OtherPlugin", "LOADER",
                "C:\\Other\\Other.arx");
    r.SetString(RegRoot::CurrentUser, kProfile2008, "TRUSTEDPATHS",
                "d:\\tools;E:\\Lib\\MyLib;");
    r.SetStringWide(RegRoot::CurrentUser, kProfile2010, "TRUSTEDPATHS",
                    u"D:\\한국어\\플러그인;e:\\cad");
    // Profiles that trust nothing yet: one with its Variables key, one without.
    r.SetString(RegRoot::CurrentUser,
                "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\Profiles\\Plot\\Variables",
                "FILEDIA", "1");
    r.CreateKeyPath(RegRoot::CurrentUser, "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:804\\"
                                          "Profiles\\<<Unnamed Profile>>");
    r.SetString(RegRoot::CurrentUser, "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804",
                "RoamableRootFolder", "C:\\Users\\User\\AppData\\Roaming\\Autodesk\\R18.0\\chs\\");
    r.SetString(RegRoot::CurrentUser, "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804",
                "CurVer", "x");
    // Windows' own keys, and the user key of an AutoCAD release removed since.
    for (const RegRoot root : {RegRoot::LocalMachine, RegRoot::CurrentUser}) {
      r.CreateKeyPath(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    }
    r.CreateKeyPath(RegRoot::LocalMachine, "Software\\Microsoft\\Active Setup\\Installed Components");
    r.CreateKeyPath(RegRoot::CurrentUser, "Software\\Autodesk\\AutoCAD\\R16.2\\ACAD-4001:804");
    r.SetString(RegRoot::CurrentUser, kForeignKey, "LOADER", "D:\\Elsewhere\\ZV_BatchPlot2013.ARX");

    auto& f = memory.files;
    f.AddDrive('D');
    f.SetModulePath("C:\\Dist\\SetUp.exe");
    for (const char* name : {"SetUp.EXE", "Zelvar_EN.shx", "Zelvar_HZ.shx", "Zelvar.prt5",
                             "Zelvar.prt7", "Zelvar.Ini", "ZV_BatchPlot2008.ARX",
                             "ZV_BatchPlot2010.ARX", "UnInstall.exe", "使用说明.txt"}) {
      f.AddFile("C:\\Dist\\Data\\" + InCodePage(name), std::string("package ") + name,
                platform::attr::kArchive | platform::attr::kReadOnly);
    }
    for (const char* location : {kAcad2008, kAcad2010}) {
      f.AddFile(std::string(location) + "\\Fonts\\txt.shx", "AutoCAD's own font");
    }
    f.AddFile(std::string(kAcad2008) + "\\Drv\\pdfplot9.hdi", "AutoCAD's driver");
    f.AddFolder(kSupport2010);
    f.AddFile(std::string(kAppData) + "\\Other\\other.ini", "keep");
    f.AddFolder(kAppData);
    f.SetEnvironment("APPDATA", kAppData);
  }

  // Without administrator rights: HKEY_LOCAL_MACHINE and AutoCAD's folders refuse writes.
  void TakeAwayRights() {
    memory.processes.SetAdministrator(false);
    memory.files.RefuseRestartRemoval();
    memory.registry.DenyWriteTree(RegRoot::LocalMachine, "");
    memory.files.DenyWrites(kAcad2008);
    memory.files.DenyWrites(kAcad2010);
  }

  bool Install(const std::string& chosenFolder = kChosen) {
    discovery::InstallationInventory inventory(memory.Get());
    inventory.ScanAcadInstallations();
    discovery::ReleaseFlags flags{};
    flags.fill(1);
    ui::InstallCommand command(inventory, memory.Get(), memory.messages);
    std::string folder;
    QuietView view(folder, chosenFolder);
    command.OnInstall(view, flags, folder);
    return view.finished;
  }

  platform::MemoryPlatform memory;
};

}  // namespace uninstall_test
