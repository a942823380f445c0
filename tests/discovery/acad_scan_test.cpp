#include <gtest/gtest.h>

#include <string>

#include "discovery/installation_inventory.h"
#include "platform/memory/memory_platform.h"
#include "tests/discovery/registry_builder.h"

namespace discovery {
namespace {

using platform::RegRoot;
using testing::kWow6432Node;
using testing::PutProduct;
using testing::PutString;

constexpr std::size_t k2008 = 1, k2009 = 2, k2010 = 3, k2011 = 4, k2013 = 6, k2014 = 7,
                      k2015 = 8;

class AcadScan : public ::testing::Test {
 protected:
  // Scans and checks what holds after every scan: the two lists of a release stay parallel,
  // and every handle the scan opened was closed.
  void Scan() {
    inventory.ScanAcadInstallations();
    for (std::size_t r = 0; r < kReleaseCount; ++r) {
      ASSERT_EQ(inventory.acadLocations[r].size(), inventory.productKeyPaths[r].size()) << r;
    }
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
  }

  std::size_t TotalFound() const {
    std::size_t total = 0;
    for (const TextList& list : inventory.acadLocations) total += list.size();
    return total;
  }

  platform::MemoryPlatform machine;
  platform::Registry& registry = machine.registry;
  InstallationInventory inventory{machine.Get()};
};

TEST_F(AcadScan, StartsEmptyAndFindsNothingWithoutAutoCADBranches) {
  EXPECT_EQ(inventory.installFolder, "");
  EXPECT_EQ(inventory.valueName, "AcadLocation");
  EXPECT_TRUE(inventory.foundKeyPaths.empty());
  EXPECT_TRUE(inventory.foundValues.empty());

  PutString(registry, RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\Maya\\2020", "ProductName",
            "Maya 2020");
  Scan();
  EXPECT_EQ(TotalFound(), 0u);
  EXPECT_EQ(inventory.valueName, "AcadLocation") << "no release key was opened";
}

TEST_F(AcadScan, FilesAProductKeyUnderTheReleaseItsProductNameNames) {
  PutProduct(registry, "K1\\P1", "AutoCAD 2008 - 简体中文", "C:\\X");
  Scan();
  ASSERT_EQ(inventory.acadLocations[k2008], TextList{"C:\\X"});
  EXPECT_EQ(inventory.productKeyPaths[k2008], TextList{"SOFTWARE\\Autodesk\\AutoCAD\\K1\\P1\\"});
  EXPECT_EQ(TotalFound(), 1u);
  EXPECT_EQ(inventory.valueName, "ProductName");
}

TEST_F(AcadScan, ValuesOnTheReleaseKeyItselfAreRecordedWithItsPath) {
  PutProduct(registry, "R18.0", "AutoCAD 2010", "C:\\Program Files\\AutoCAD 2010\\");
  Scan();
  EXPECT_EQ(inventory.productKeyPaths[k2010], TextList{"SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\"});
  EXPECT_EQ(inventory.acadLocations[k2010], TextList{"C:\\Program Files\\AutoCAD 2010\\"})
      << "the location is kept exactly as the registry holds it";
}

TEST_F(AcadScan, TheWow6432NodeBranchKnowsOnly2007To2009AndComesFirst) {
  PutProduct(registry, "R18.1\\ACAD-9001:409", "AutoCAD 2010", "C:\\A", kWow6432Node);
  PutProduct(registry, "R17.2\\ACAD-7001:804", "AutoCAD 2009", "C:\\B", kWow6432Node);
  PutProduct(registry, "R17.2\\ACAD-7001:804", "AutoCAD 2009", "C:\\B");
  Scan();
  EXPECT_TRUE(inventory.acadLocations[k2010].empty());
  EXPECT_EQ(inventory.productKeyPaths[k2009],
            (TextList{"SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD\\R17.2\\ACAD-7001:804\\",
                      "SOFTWARE\\Autodesk\\AutoCAD\\R17.2\\ACAD-7001:804\\"}))
      << "one installation seen in both branches is listed twice, Wow6432Node first";
  EXPECT_EQ(inventory.acadLocations[k2009], (TextList{"C:\\B", "C:\\B"}));
}

// A year counts wherever it stands after the start of the name; at the start alone it names
// nothing.
TEST_F(AcadScan, TheLowestYearInTheProductNameWinsButNotAtItsVeryStart) {
  PutProduct(registry, "R1\\P", "AutoCAD 2012 / 2011", "C:\\2011");
  PutProduct(registry, "R2\\P", "2013 Edition", "C:\\none");
  PutProduct(registry, "R3\\P", "2013 AutoCAD 2014", "C:\\2014");
  PutProduct(registry, "R4\\P", "AutoCAD LT", "C:\\none");
  PutProduct(registry, "R5\\P", "2013 AutoCAD 2013", "C:\\2013");
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2011], TextList{"C:\\2011"});
  EXPECT_EQ(inventory.acadLocations[k2013], TextList{"C:\\2013"});
  EXPECT_EQ(inventory.acadLocations[k2014], TextList{"C:\\2014"});
  EXPECT_EQ(TotalFound(), 3u);
}

TEST_F(AcadScan, AnUnreadableWow6432NodeBranchLeavesTheNativeBranchScanned) {
  PutProduct(registry, "R17.2\\ACAD-7001:804", "AutoCAD 2009", "C:\\Wow", kWow6432Node);
  PutProduct(registry, "R17.2\\ACAD-7001:804", "AutoCAD 2009", "C:\\Native");
  ASSERT_TRUE(machine.registry.DenyRead(RegRoot::LocalMachine,
                                        "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD"));
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2009], TextList{"C:\\Native"});
  EXPECT_EQ(TotalFound(), 1u);
}

// Nothing reads the working area after the scan, but it ends as the search for ProductName
// below the last release key left it: every ProductName found there, paired or not.
TEST_F(AcadScan, TheWorkingAreaEndsWithTheProductNamesOfTheLastReleaseKey) {
  PutProduct(registry, "R18.0\\P", "AutoCAD 2010", "C:\\A");
  const std::string last = "SOFTWARE\\Autodesk\\AutoCAD\\R19.0";
  PutString(registry, RegRoot::LocalMachine, last + "\\Left", "ProductName", "AutoCAD 2013");
  PutString(registry, RegRoot::LocalMachine, last + "\\Left\\Below", "AcadLocation", "C:\\B");
  PutProduct(registry, "R19.0\\Right", "AutoCAD 2014", "C:\\C");
  Scan();
  EXPECT_EQ(inventory.valueName, "ProductName");
  EXPECT_EQ(inventory.foundKeyPaths, (TextList{last + "\\Left\\", last + "\\Right\\"}));
  EXPECT_EQ(inventory.foundValues, (TextList{"AutoCAD 2013", "AutoCAD 2014"}));
  EXPECT_EQ(TotalFound(), 2u) << "C:\\B sits below a ProductName of its own path's key only";
}

TEST_F(AcadScan, BothValuesMustSitOnTheSameKey) {
  const std::string release = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0";
  PutString(registry, RegRoot::LocalMachine, release, "AcadLocation", "C:\\A");
  PutString(registry, RegRoot::LocalMachine, release + "\\P1", "ProductName", "AutoCAD 2010");
  Scan();
  EXPECT_EQ(TotalFound(), 0u);
}

TEST_F(AcadScan, TheSearchStopsDescendingAtTheFirstKeyHoldingTheValue) {
  PutProduct(registry, "R18.0\\P1", "AutoCAD 2010", "C:\\Upper");
  PutProduct(registry, "R18.0\\P1\\Deeper", "AutoCAD 2010", "C:\\Lower");
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2010], TextList{"C:\\Upper"});
}

TEST_F(AcadScan, AValueThatDoesNotFit256BytesCountsAsAbsent) {
  const std::string fits(255, 'F');  // 255 bytes and the NUL: exactly 256
  const std::string tooLong(256, 'L');
  PutProduct(registry, "R1\\Fits", "AutoCAD 2010", "C:\\" + fits.substr(3));
  PutProduct(registry, "R2\\TooLong", "AutoCAD 2010", "C:\\" + tooLong.substr(3));
  Scan();
  ASSERT_EQ(inventory.acadLocations[k2010].size(), 1u);
  EXPECT_EQ(inventory.acadLocations[k2010][0].size(), 255u);
}

TEST_F(AcadScan, ValueDataIsTakenAsTextUpToItsFirstNulWhateverItsType) {
  const std::string path = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\P";
  PutString(registry, RegRoot::LocalMachine, path, "ProductName", "AutoCAD 2010");
  testing::PutValue(registry, RegRoot::LocalMachine, path, "AcadLocation",
                    platform::reg::kTypeExpandSz, std::string("%ProgramFiles%\\AutoCAD\0junk", 27));
  const std::string other = "SOFTWARE\\Autodesk\\AutoCAD\\R18.1\\P";
  PutString(registry, RegRoot::LocalMachine, other, "ProductName", "AutoCAD 2011");
  // No NUL at all: the text ends with the data.
  testing::PutValue(registry, RegRoot::LocalMachine, other, "AcadLocation",
                    platform::reg::kTypeBinary, "C:\\Bin");
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2010], TextList{"%ProgramFiles%\\AutoCAD"});
  EXPECT_EQ(inventory.acadLocations[k2011], TextList{"C:\\Bin"});
}

TEST_F(AcadScan, ProductKeysOfOneReleaseKeyAreRecordedInEnumerationOrder) {
  // Created out of order: the registry lists sub-keys sorted by name, whatever their case.
  PutProduct(registry, "R20.0\\acad-E001:804", "AutoCAD 2015 - 简体中文", "C:\\Chinese");
  PutProduct(registry, "R20.0\\ACAD-E001:409", "AutoCAD 2015 - English", "C:\\English");
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2015], (TextList{"C:\\English", "C:\\Chinese"}));
  EXPECT_EQ(inventory.productKeyPaths[k2015],
            (TextList{"SOFTWARE\\Autodesk\\AutoCAD\\R20.0\\ACAD-E001:409\\",
                      "SOFTWARE\\Autodesk\\AutoCAD\\R20.0\\acad-E001:804\\"}));
}

TEST_F(AcadScan, KeysThatCannotBeReadOrNamedArePassedOver) {
  PutProduct(registry, "R17.1\\ACAD-6001:804", "AutoCAD 2008", "C:\\Readable");
  PutProduct(registry, "R17.1\\Locked", "AutoCAD 2008", "C:\\Locked");
  PutProduct(registry, "R18.0\\P", "AutoCAD 2010", "C:\\LockedRelease");
  machine.registry.DenyRead(RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\Locked");
  machine.registry.DenyRead(RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R18.0");
  // 200 Chinese characters: 400 bytes in code page 936, too long for the name buffer.
  std::string longName;
  for (int i = 0; i < 200; ++i) longName += "名";
  PutProduct(registry, "R17.1\\" + longName, "AutoCAD 2008", "C:\\LongName");
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2008], TextList{"C:\\Readable"});
  EXPECT_TRUE(inventory.acadLocations[k2010].empty());
}

TEST_F(AcadScan, ALoopingKeyTreeEndsAtTheDepthLimit) {
  PutProduct(registry, "R18.0\\ACAD-8001:804", "AutoCAD 2010", "C:\\Found");
  testing::PutKey(registry, RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R19.0\\Loop");
  machine.registry.AddLink(RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R19.0\\Loop\\Again",
                           RegRoot::LocalMachine, "SOFTWARE\\Autodesk\\AutoCAD\\R19.0\\Loop");
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2010], TextList{"C:\\Found"});
}

// Two links back to a release key double the paths at every level: the depth limit alone
// would leave 2^512 of them to walk. The key budget ends that walk, and it counts the keys
// below one release key only, so the release keys after it are still searched.
TEST_F(AcadScan, TwoLoopingLinksEndWithinTheKeyBudget) {
  const std::string loop = "SOFTWARE\\Autodesk\\AutoCAD\\R17.0";
  testing::PutKey(registry, RegRoot::LocalMachine, loop);
  for (const char* link : {"\\A", "\\B"}) {
    ASSERT_TRUE(machine.registry.AddLink(RegRoot::LocalMachine, loop + link, RegRoot::LocalMachine,
                                         loop));
  }
  PutProduct(registry, "R18.0\\ACAD-8001:804", "AutoCAD 2010", "C:\\After");
  PutProduct(registry, "R18.1\\ACAD-9001:804", "AutoCAD 2011", "C:\\Later");
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2010], TextList{"C:\\After"});
  EXPECT_EQ(inventory.acadLocations[k2011], TextList{"C:\\Later"});
  EXPECT_EQ(TotalFound(), 2u);
}

// A smaller budget set for one inventory is kept to, and each value's budget counts only the
// keys opened while that value is sought: below L only AcadLocation is sought, below M only
// ProductName, so each value reaches Z as its seventh key though the walk opens ten.
TEST_F(AcadScan, EachValueIsSoughtInNoMoreKeysThanItsBudget) {
  const std::string release = "SOFTWARE\\Autodesk\\AutoCAD\\R18.0";
  PutString(registry, RegRoot::LocalMachine, release + "\\L", "ProductName", "AutoCAD 2010");
  PutString(registry, RegRoot::LocalMachine, release + "\\M", "AcadLocation", "C:\\M");
  for (const char* below : {"\\L\\1", "\\L\\2", "\\L\\3", "\\M\\1", "\\M\\2", "\\M\\3"}) {
    testing::PutKey(registry, RegRoot::LocalMachine, release + below);
  }
  PutProduct(registry, "R18.0\\Z", "AutoCAD 2010", "C:\\Last");
  inventory.maxCollectKeys = 6;
  Scan();
  EXPECT_EQ(TotalFound(), 0u);
  inventory.maxCollectKeys = 7;
  Scan();
  EXPECT_EQ(inventory.acadLocations[k2010], TextList{"C:\\Last"});
}

TEST_F(AcadScan, ValuesDeepBelowAReleaseKeyAreFound) {
  std::string path = "Deep";
  for (int level = 0; level < 40; ++level) path += "\\L" + std::to_string(level);
  PutProduct(registry, path, "AutoCAD 2010", "C:\\Deep");
  Scan();
  EXPECT_EQ(inventory.productKeyPaths[k2010],
            TextList{"SOFTWARE\\Autodesk\\AutoCAD\\" + path + "\\"});
}

TEST(InstallationInventory, SetInstallFolderRemovesOneTrailingBackslash) {
  platform::MemoryPlatform machine;
  InstallationInventory inventory(machine.Get());
  const struct {
    const char* given;
    const char* stored;
  } cases[] = {{"D:\\Plot\\", "D:\\Plot"},
               {"D:\\Plot", "D:\\Plot"},
               {"D:\\Plot\\\\", "D:\\Plot\\"},
               {"", ""},
               // The second byte of this character is 0x5C: it is not a backslash.
               {"D:\\\x95\x5C", "D:\\\x95\x5C"}};
  for (const auto& c : cases) {
    inventory.SetInstallFolder(c.given);
    EXPECT_EQ(inventory.installFolder, c.stored) << c.given;
  }
}

}  // namespace
}  // namespace discovery
