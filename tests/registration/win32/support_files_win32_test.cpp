// The support files placed into real folders: a stand-in AutoCAD 2008 install folder under
// %TEMP%, and the package's Data folder beside this test program, where the setup looks.

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "discovery/installation_inventory.h"
#include "platform/memory/scripted_message_boxes.h"
#include "platform/win32/win32_platform.h"
#include "registration/support_files.h"
#include "tests/registration/win32/scratch.h"
#include "ui/logic/install_message_boxes.h"

namespace registration {
namespace {

using namespace win32_testing;

bool PutFile(const std::string& path, const std::string& contents, DWORD attributes) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file << contents;
    if (!file) return false;
  }
  return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool IsReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

class Folder {
 public:
  explicit Folder(std::string path) : path_(std::move(path)) {
    RemoveTree(path_);
    made_ = CreateDirectoryA(path_.c_str(), nullptr) != FALSE;
  }
  ~Folder() { RemoveTree(path_); }
  Folder(const Folder&) = delete;
  Folder& operator=(const Folder&) = delete;
  bool Made() const { return made_; }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  bool made_ = false;
};

TEST(SupportFilesOnWine, FontsAndTheDriverLandInTheInstallFolderAndReadOnlyOnesAreReplaced) {
  const Folder data(ProgramFolder() + "\\Data");
  ASSERT_TRUE(data.Made());
  ASSERT_TRUE(PutFile(data.Path() + "\\Zelvar_EN.shx", "package EN", FILE_ATTRIBUTE_ARCHIVE));
  ASSERT_TRUE(PutFile(data.Path() + "\\Zelvar_HZ.shx", "package HZ", FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(PutFile(data.Path() + "\\Zelvar.prt5", "package driver", FILE_ATTRIBUTE_ARCHIVE));

  const Folder acad(TempFolder() + "\\zelvar-acad2008-" + Pid());
  const Folder noFonts(TempFolder() + "\\zelvar-acad2009-" + Pid());
  ASSERT_TRUE(acad.Made() && noFonts.Made());
  const std::string fonts = acad.Path() + "\\Fonts";
  const std::string drv = acad.Path() + "\\Drv";
  ASSERT_TRUE(CreateDirectoryA(fonts.c_str(), nullptr) && CreateDirectoryA(drv.c_str(), nullptr));
  // Wine running as root lets CopyFileA write over read-only files; the outcome below holds
  // either way because the attribute is cleared before the copy.
  ASSERT_TRUE(PutFile(fonts + "\\Zelvar_EN.shx", "old EN", FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(PutFile(drv + "\\pdfplot9.hdi", "autodesk driver", FILE_ATTRIBUTE_READONLY));

  platform::Win32Platform win32;
  platform::ScriptedMessageBoxes messages;
  const platform::Platform machine{win32.registry, win32.files, win32.processes};
  discovery::InstallationInventory inventory{machine};
  inventory.acadLocations[1].push_back(acad.Path() + "\\");  // as some installers store it
  inventory.acadLocations[2].push_back(noFonts.Path());
  discovery::ReleaseFlags flags{};
  flags[1] = 1;
  flags[2] = 1;
  RegistrationOutcome outcome;
  ui::InstallMessageBoxes prompts(messages, 0);
  InstallSupportFiles(inventory, machine, prompts, flags, outcome);
  EXPECT_TRUE(outcome.EverythingMachineWide());

  EXPECT_EQ(ReadWhole(fonts + "\\Zelvar_EN.shx"), "package EN");
  EXPECT_EQ(ReadWhole(fonts + "\\Zelvar_HZ.shx"), "package HZ");
  EXPECT_EQ(ReadWhole(drv + "\\pdfplot9.hdi"), "package driver");
  for (const std::string& path : {fonts + "\\Zelvar_EN.shx", fonts + "\\Zelvar_HZ.shx",
                                  drv + "\\pdfplot9.hdi", data.Path() + "\\Zelvar_HZ.shx"}) {
    EXPECT_FALSE(IsReadOnly(path)) << path;
  }
  EXPECT_EQ(GetFileAttributesA((noFonts.Path() + "\\Fonts").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(messages.Shown().empty());
}

}  // namespace
}  // namespace registration
