// The package data folder found from the real location of this test program, and the two
// file checks on real files.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "install/package_data_folder.h"
#include "platform/memory/scripted_message_boxes.h"
#include "platform/win32/win32_platform.h"
#include "ui/logic/install_message_boxes.h"

namespace install {
namespace {

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

bool PutFile(const std::string& path) {
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

class PackageDataFolderOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    programFolder = ProgramFolder();
    ASSERT_FALSE(programFolder.empty());
    TearDown();
  }
  void TearDown() override {
    RemoveDirectoryA((programFolder + "\\Data").c_str());
    DeleteFileA((programFolder + "\\ZV_BatchPlot2010.arx").c_str());
  }

  bool Find(std::string& folder) {
    const platform::Platform machine{win32.registry, win32.files, win32.processes};
    ui::InstallMessageBoxes prompts(messages, 0);
    return FindPackageDataFolder(machine, prompts, folder);
  }

  platform::Win32Platform win32;
  platform::ScriptedMessageBoxes messages;
  std::string programFolder;
};

TEST_F(PackageDataFolderOnWine, FindsDataBesideTheProgramThenTheModuleAndOtherwiseTellsTheUser) {
  ASSERT_TRUE(CreateDirectoryA((programFolder + "\\Data").c_str(), nullptr));
  std::string folder;
  EXPECT_TRUE(Find(folder));
  EXPECT_EQ(folder, programFolder + "\\Data");

  ASSERT_TRUE(RemoveDirectoryA((programFolder + "\\Data").c_str()));
  ASSERT_TRUE(PutFile(programFolder + "\\ZV_BatchPlot2010.arx"));
  EXPECT_TRUE(Find(folder));
  EXPECT_EQ(folder, programFolder);
  EXPECT_TRUE(messages.Shown().empty());

  ASSERT_TRUE(DeleteFileA((programFolder + "\\ZV_BatchPlot2010.arx").c_str()));
  EXPECT_FALSE(Find(folder));
  ASSERT_EQ(messages.Shown().size(), 1u);
  EXPECT_EQ(messages.Shown()[0].caption, "Zelvar软件安装");
}

TEST_F(PackageDataFolderOnWine, ADataFolderSpelledInAnyCaseIsFound) {
  for (const char* name : {"data", "DATA"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(CreateDirectoryA((programFolder + "\\" + name).c_str(), nullptr));
    std::string folder;
    EXPECT_TRUE(Find(folder));
    EXPECT_EQ(folder, programFolder + "\\Data");
    ASSERT_TRUE(RemoveDirectoryA((programFolder + "\\" + name).c_str()));
  }
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(PackageDataFolderOnWine, PathKindsAndTheReadOnlyAttributeOfRealFiles) {
  const std::string file = programFolder + "\\ZV_BatchPlot2010.arx";
  ASSERT_TRUE(PutFile(file));
  ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_EQ(GetPathKind(win32.files, file), PathIsFile);
  EXPECT_EQ(GetPathKind(win32.files, programFolder), PathIsFolder);
  EXPECT_EQ(GetPathKind(win32.files, programFolder + "\\"), PathMissing);
  EXPECT_EQ(GetPathKind(win32.files, programFolder + "\\missing.arx"), PathMissing);

  ClearReadOnly(win32.files, file);
  const DWORD attributes = GetFileAttributesA(file.c_str());
  EXPECT_EQ(attributes & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_NE(attributes & FILE_ATTRIBUTE_ARCHIVE, 0u);
}

}  // namespace
}  // namespace install
