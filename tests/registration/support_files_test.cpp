#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "registration/support_files.h"
#include "ui/logic/install_message_boxes.h"

namespace registration {
namespace {

using platform::attr::kArchive;
using platform::attr::kHidden;
using platform::attr::kReadOnly;

constexpr const char* kData = "D:\\Dist\\Data";
constexpr const char* kAcad2008 = "C:\\Program Files\\AutoCAD 2008";
constexpr const char* kAcad2010 = "C:\\Program Files\\AutoCAD 2010";

class SupportFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    files.AddDrive('D');
    files.AddDrive('E');
    files.SetModulePath("D:\\Dist\\SetUp.exe");
    ASSERT_TRUE(files.AddFile(std::string(kData) + "\\Zelvar_EN.shx", "new EN"));
    ASSERT_TRUE(files.AddFile(std::string(kData) + "\\Zelvar_HZ.shx", "new HZ"));
    ASSERT_TRUE(files.AddFile(std::string(kData) + "\\Zelvar.prt5", "new driver"));
  }

  // An AutoCAD install folder with its Fonts and Drv folders, found for a release.
  void AddLocation(int releaseYear, const std::string& location, bool withFolders = true) {
    inventory.acadLocations[static_cast<std::size_t>(releaseYear - 2007)].push_back(location);
    if (withFolders) {
      ASSERT_TRUE(files.AddFile(location + "\\Drv\\pdfplot9.hdi", "autodesk driver"));
      ASSERT_TRUE(files.AddFolder(location + "\\Fonts"));
    }
  }

  bool Install(std::vector<int> years) {
    discovery::ReleaseFlags flags{};
    for (int year : years) flags[static_cast<std::size_t>(year - 2007)] = 1;
    outcome = RegistrationOutcome{};
    InstallSupportFiles(inventory, machine.Get(), prompts, flags, outcome);
    EXPECT_EQ(files.OpenListingCount(), 0u);
    return outcome.EverythingMachineWide();
  }

  std::optional<std::string> Font(const std::string& location, const char* name) const {
    return files.ReadFile(location + "\\Fonts\\" + name);
  }
  std::optional<std::string> Driver(const std::string& location) const {
    return files.ReadFile(location + "\\Drv\\pdfplot9.hdi");
  }

  static constexpr platform::WindowRef kOwner = 0x4242;
  platform::MemoryPlatform machine;
  ui::InstallMessageBoxes prompts{machine.messages, kOwner};
  platform::MemoryFileSystem& files = machine.files;
  discovery::InstallationInventory inventory{machine.Get()};
  RegistrationOutcome outcome;
};

TEST_F(SupportFiles, AutoCAD2008GetsBothFontsAndTheDriverInEveryLocation) {
  const std::string second = "E:\\AutoCAD 2008 Chs";
  AddLocation(2008, kAcad2008);
  AddLocation(2008, second);
  EXPECT_TRUE(Install({2008}));
  for (const std::string& location : {std::string(kAcad2008), second}) {
    EXPECT_EQ(Font(location, "Zelvar_EN.shx"), "new EN") << location;
    EXPECT_EQ(Font(location, "Zelvar_HZ.shx"), "new HZ") << location;
    EXPECT_EQ(Driver(location), "new driver") << location;
  }
  EXPECT_TRUE(machine.messages.Shown().empty());
}

// AutoCAD's own driver is kept once, beside it, before the first replacement; a later
// installation (even with another package driver) never overwrites what was kept, and a
// driver that is already the package's is no AutoCAD driver to keep. Fonts lose the mark of
// the download.
TEST_F(SupportFiles, AutoCADsOwnDriverIsKeptOnceAndNeverOverwritten) {
  AddLocation(2008, kAcad2008);
  ASSERT_TRUE(files.AddStream(std::string(kData) + "\\Zelvar_EN.shx", "Zone.Identifier", "3"));
  const std::string kept = std::string(kAcad2008) + "\\Drv\\pdfplot9.hdi.orig";
  EXPECT_TRUE(Install({2008}));
  EXPECT_FALSE(files.ReadStream(std::string(kAcad2008) + "\\Fonts\\Zelvar_EN.shx", "Zone.Identifier"));
  files.AddFile(std::string(kData) + "\\Zelvar.prt5", "newer driver");
  EXPECT_TRUE(Install({2008}));
  EXPECT_EQ(files.ReadFile(kept), "autodesk driver");
  EXPECT_EQ(Driver(kAcad2008), "newer driver");

  AddLocation(2008, "E:\\ACAD2008");
  files.AddFile("E:\\ACAD2008\\Drv\\pdfplot9.hdi", "newer driver");
  EXPECT_TRUE(Install({2008}));
  EXPECT_FALSE(files.Exists("E:\\ACAD2008\\Drv\\pdfplot9.hdi.orig"));
}

TEST_F(SupportFiles, OtherReleasesGetTheFontsButKeepAutoCADsDriver) {
  AddLocation(2007, "C:\\ACAD2007");
  AddLocation(2009, "C:\\ACAD2009");
  AddLocation(2010, kAcad2010);
  AddLocation(2011, "C:\\ACAD2011");  // not ticked
  EXPECT_TRUE(Install({2007, 2009, 2010}));
  for (const char* location : {"C:\\ACAD2007", "C:\\ACAD2009", kAcad2010}) {
    EXPECT_EQ(Font(location, "Zelvar_HZ.shx"), "new HZ") << location;
    EXPECT_EQ(Driver(location), "autodesk driver") << location;
  }
  EXPECT_FALSE(Font("C:\\ACAD2011", "Zelvar_EN.shx"));
}

TEST_F(SupportFiles, MissingFontsOrDrvFoldersAndEmptyReleasesAreNoFailure) {
  AddLocation(2008, kAcad2008, false);
  ASSERT_TRUE(files.AddFolder(kAcad2008));
  EXPECT_TRUE(Install({2008, 2013}));
  EXPECT_FALSE(files.Exists(std::string(kAcad2008) + "\\Fonts")) << "AutoCAD's folders are not made";
  EXPECT_FALSE(files.Exists(std::string(kAcad2008) + "\\Drv"));
  EXPECT_TRUE(machine.messages.Shown().empty());
}

TEST_F(SupportFiles, ReadOnlyOldFilesAreReplacedAtTheFirstRunAndNothingStaysReadOnly) {
  AddLocation(2008, kAcad2008);
  const std::string fonts = std::string(kAcad2008) + "\\Fonts\\";
  ASSERT_TRUE(files.AddFile(fonts + "Zelvar_EN.shx", "old EN", kReadOnly | kArchive));
  ASSERT_TRUE(files.AddFile(fonts + "Zelvar_HZ.shx", "old HZ", kReadOnly | kArchive));
  ASSERT_TRUE(files.AddFile(std::string(kAcad2008) + "\\Drv\\pdfplot9.hdi", "old", kReadOnly));
  // A read-only package file would hand its attribute on to the copy.
  ASSERT_TRUE(files.AddFile(std::string(kData) + "\\Zelvar_HZ.shx", "new HZ", kReadOnly | kHidden));

  EXPECT_TRUE(Install({2008}));
  EXPECT_EQ(Font(kAcad2008, "Zelvar_EN.shx"), "new EN");
  EXPECT_EQ(Font(kAcad2008, "Zelvar_HZ.shx"), "new HZ");
  EXPECT_EQ(Driver(kAcad2008), "new driver");
  for (const std::string& path : {fonts + "Zelvar_EN.shx", fonts + "Zelvar_HZ.shx",
                                 std::string(kAcad2008) + "\\Drv\\pdfplot9.hdi",
                                 std::string(kData) + "\\Zelvar_HZ.shx"}) {
    EXPECT_EQ(files.Attributes(path) & kReadOnly, 0u) << path;
  }
  EXPECT_NE(files.Attributes(std::string(kData) + "\\Zelvar_HZ.shx") & kHidden, 0u)
      << "only the read-only bit goes";
}

TEST_F(SupportFiles, ALocationEndingInABackslashIsServedThroughTheDoubledSeparator) {
  AddLocation(2008, "C:\\ACAD\\", false);
  ASSERT_TRUE(files.AddFolder("C:\\ACAD\\Fonts"));
  ASSERT_TRUE(files.AddFolder("C:\\ACAD\\Drv"));
  EXPECT_TRUE(Install({2008}));
  EXPECT_EQ(files.ReadFile("C:\\ACAD\\Fonts\\Zelvar_EN.shx"), "new EN");
  EXPECT_EQ(files.ReadFile("C:\\ACAD\\Drv\\pdfplot9.hdi"), "new driver");
}

TEST_F(SupportFiles, WithoutWriteRightsInAutoCADsFoldersNothingChangesAndTheOutcomeSaysSo) {
  AddLocation(2008, kAcad2008);
  AddLocation(2010, kAcad2010);
  files.DenyWrites("C:\\Program Files");
  EXPECT_FALSE(Install({2008, 2010}));
  EXPECT_FALSE(Font(kAcad2008, "Zelvar_EN.shx"));
  EXPECT_FALSE(Font(kAcad2010, "Zelvar_HZ.shx"));
  EXPECT_EQ(Driver(kAcad2008), "autodesk driver");
}

TEST_F(SupportFiles, OneFailedCopyFailsTheOutcomeButTheOtherFilesAreStillPlaced) {
  AddLocation(2008, kAcad2008);
  files.SetWriteHook([](const std::string&, const std::string& destination) {
    return destination.find("Zelvar_HZ.shx") == std::string::npos;
  });
  EXPECT_FALSE(Install({2008}));
  EXPECT_EQ(Font(kAcad2008, "Zelvar_EN.shx"), "new EN");
  EXPECT_EQ(Driver(kAcad2008), "new driver");
}

TEST_F(SupportFiles, AMissingPackageFileIsAFailureWhereTheFolderExists) {
  platform::MemoryPlatform bare;
  ui::InstallMessageBoxes bareBoxes{bare.messages, kOwner};
  bare.files.AddDrive('D');
  bare.files.SetModulePath("D:\\Dist\\SetUp.exe");
  ASSERT_TRUE(bare.files.AddFolder(kData));  // a data folder without the support files
  ASSERT_TRUE(bare.files.AddFolder(std::string(kAcad2008) + "\\Fonts"));
  ReleaseOutcome refused;
  CopySupportFiles(bare.Get(), bareBoxes, kAcad2008, "", true, refused);
  EXPECT_TRUE(refused.fontsMissing);

  ASSERT_TRUE(bare.files.AddFile(std::string(kData) + "\\Zelvar_EN.shx", "EN"));
  ASSERT_TRUE(bare.files.AddFile(std::string(kData) + "\\Zelvar_HZ.shx", "HZ"));
  ReleaseOutcome placed;
  CopySupportFiles(bare.Get(), bareBoxes, kAcad2008, "", true, placed);
  EXPECT_FALSE(placed.Refused()) << "the driver is missing too, but so is the Drv folder";
}

TEST_F(SupportFiles, AVanishedDataFolderShowsTheMessageForEveryLocationAndFails) {
  AddLocation(2008, kAcad2008);
  AddLocation(2010, kAcad2010);
  files.SetModulePath("D:\\Elsewhere\\SetUp.exe");
  EXPECT_FALSE(Install({2008, 2010}));
  ASSERT_EQ(machine.messages.Shown().size(), 2u);
  EXPECT_EQ(machine.messages.Shown()[0].owner, kOwner);
  EXPECT_EQ(machine.messages.Shown()[0].caption, "Zelvar软件安装");
  EXPECT_FALSE(Font(kAcad2008, "Zelvar_EN.shx"));
  EXPECT_EQ(files.CopyAttempts(), 0u);
}

TEST_F(SupportFiles, ALocationTooLongForItsFontsFolderIsPassedOver) {
  const std::string location = "C:\\" + std::string(251, 'x');  // + "\Fonts" makes 260
  AddLocation(2008, location);
  EXPECT_TRUE(Install({2008}));
  EXPECT_EQ(files.CopyAttempts(), 0u);

  const std::string fits = "C:\\" + std::string(250, 'y');  // "\Fonts": 259 characters
  AddLocation(2010, fits);
  Install({2010});
  EXPECT_GT(files.CopyAttempts(), 0u) << "a folder that fits is served";
}

TEST_F(SupportFiles, TheSameLocationUnderTwoReleasesIsServedTwiceWithTheSameResult) {
  AddLocation(2009, kAcad2008);
  inventory.acadLocations[1].push_back(kAcad2008);
  EXPECT_TRUE(Install({2008, 2009}));
  // Two fonts twice, AutoCAD's driver kept once, and the package's driver.
  EXPECT_EQ(files.CopyAttempts(), 6u);
  EXPECT_EQ(Driver(kAcad2008), "new driver");
  EXPECT_EQ(Font(kAcad2008, "Zelvar_EN.shx"), "new EN");
}


// Without administrator rights: AutoCAD's Fonts folder refuses, and the fonts go to the first
// folder of the user's support search path, where AutoCAD has made it.
TEST_F(SupportFiles, RefusedFontsGoToTheUsersRoamableSupportFolderOfTheLocationsProduct) {
  const std::string support = "C:\\Users\\User\\AppData\\Roaming\\Autodesk\\R17.1\\chs\\Support";
  AddLocation(2008, kAcad2008);
  inventory.productKeyPaths[1].push_back("SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\");
  AddLocation(2010, kAcad2010);  // its user key has no RoamableRootFolder
  inventory.productKeyPaths[3].push_back("SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\");
  ASSERT_TRUE(machine.registry.SetString(platform::RegRoot::CurrentUser,
                                         "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804",
                                         "RoamableRootFolder", support.substr(0, support.size() - 7)));
  ASSERT_TRUE(machine.registry.CreateKeyPath(platform::RegRoot::CurrentUser,
                                             "Software\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804"));
  ASSERT_TRUE(files.AddFolder(support));
  files.DenyWrites(kAcad2008);
  files.DenyWrites(kAcad2010);

  EXPECT_FALSE(Install({2008, 2010}));

  EXPECT_EQ(files.ReadFile(support + "\\Zelvar_EN.shx"), "new EN");
  EXPECT_EQ(files.ReadFile(support + "\\Zelvar_HZ.shx"), "new HZ");
  EXPECT_EQ(Driver(kAcad2008), "autodesk driver") << "a plot driver has no per-user place";
  EXPECT_TRUE(outcome.releases[1].perUser);
  EXPECT_FALSE(outcome.releases[1].fontsMissing);
  EXPECT_TRUE(outcome.releases[1].driverMissing);
  EXPECT_TRUE(outcome.releases[3].fontsMissing);
  EXPECT_FALSE(outcome.releases[3].perUser);
  EXPECT_FALSE(outcome.releases[3].driverMissing) << "2010 takes no driver";
}

}  // namespace
}  // namespace registration
