#include "registration/user_places.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/memory/memory_platform.h"

namespace registration {
namespace {

using platform::RegRoot;

TEST(UserPlaces, AMachineWideProductKeyMapsToTheUsersOfEitherBranch) {
  struct Case {
    const char* machine;
    const char* user;  // nullptr: no user key belongs to it
  };
  for (const Case& c : {
           Case{"SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\",
                "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\"},
           Case{"software\\WOW6432NODE\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\",
                "Software\\Autodesk\\AutoCAD\\R17.0\\ACAD-5001:804\\"},
           // Only the whole name "Wow6432Node" is the 32-bit branch.
           Case{"SOFTWARE\\Wow6432NodeX\\Autodesk\\", "Software\\Wow6432NodeX\\Autodesk\\"},
           // A double-byte character whose second byte is 0x5C stays whole.
           Case{"SOFTWARE\\Autodesk\\\xB1\x5C\\", "Software\\Autodesk\\\xB1\x5C\\"},
           Case{"SOFTWAREX\\Autodesk\\", nullptr},
           Case{"Autodesk\\AutoCAD\\", nullptr},
           Case{"", nullptr}}) {
    std::string user = "untouched";
    EXPECT_EQ(UserProductKeyPath(c.machine, user), c.user != nullptr) << c.machine;
    EXPECT_EQ(user, c.user != nullptr ? c.user : "untouched") << c.machine;
  }
}

TEST(UserPlaces, TheSupportFolderComesFromRoamableRootFolderWhereValueAndFolderExist) {
  const std::string product = "SOFTWARE\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:804\\";
  const std::string user = "Software\\Autodesk\\AutoCAD\\R24.0\\ACAD-4101:804";
  const std::string roaming = "C:\\Users\\用户\\AppData\\Roaming\\Autodesk\\AutoCAD 2021\\R24.0\\chs";
  // "C:\" + 234 characters + "\Support\Zelvar_EN.shx" makes 259, the longest path that fits.
  const std::string tooLong = "C:\\" + std::string(235, 'x');
  const std::string longest = "C:\\" + std::string(234, 'x');
  struct Case {
    const char* what;
    std::uint32_t type;
    std::string root;  // "" with type 0: no value
    std::string expected;  // "" when there is no place
  };
  for (const Case& c : {
           Case{"with backslash", platform::reg::kTypeSz, roaming + "\\", roaming + "\\Support"},
           Case{"without", platform::reg::kTypeSz, roaming, roaming + "\\Support"},
           Case{"expandable, plain", platform::reg::kTypeExpandSz, roaming, roaming + "\\Support"},
           Case{"longest that fits", platform::reg::kTypeSz, longest, longest + "\\Support"},
           Case{"too long for a font's path", platform::reg::kTypeSz, tooLong, ""},
           Case{"environment string", platform::reg::kTypeExpandSz, "%APPDATA%\\Autodesk", ""},
           Case{"not text", platform::reg::kTypeDword, "1234", ""},
           Case{"empty", platform::reg::kTypeSz, "", ""},
           Case{"no value", platform::reg::kTypeNone, "", ""}}) {
    SCOPED_TRACE(c.what);
    platform::MemoryPlatform machine;
    ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser, user));
    if (c.type != platform::reg::kTypeNone) {
      std::string data = c.root;
      if (c.type != platform::reg::kTypeDword) data += '\0';
      ASSERT_TRUE(machine.registry.SetRawValue(RegRoot::CurrentUser, user, "RoamableRootFolder",
                                               c.type, data));
    }
    for (const std::string& root : {roaming, longest, tooLong, std::string("C:\\%APPDATA%\\Autodesk")}) {
      ASSERT_TRUE(machine.files.AddFolder(root + "\\Support"));
    }
    std::string folder;
    EXPECT_EQ(UserSupportFolder(machine.registry, machine.files, product, folder),
              !c.expected.empty());
    EXPECT_EQ(folder, c.expected);
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
  }
}

TEST(UserPlaces, NoSupportFolderWithoutTheUsersKeyOrTheFolderAndNothingIsCreated) {
  platform::MemoryPlatform machine;
  const std::string product = "SOFTWARE\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804\\";
  std::string folder;
  EXPECT_FALSE(UserSupportFolder(machine.registry, machine.files, product, folder))
      << "AutoCAD never started for this user";
  ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser,
                                         "Software\\Autodesk\\AutoCAD\\R17.1\\ACAD-6001:804",
                                         "RoamableRootFolder", "C:\\Roaming\\R17.1\\chs\\"));
  const platform::FileTree files = machine.files.Snapshot();
  const platform::RegistrySnapshot registry = machine.registry.Snapshot();
  EXPECT_FALSE(UserSupportFolder(machine.registry, machine.files, product, folder))
      << "the value, but no folder yet";
  EXPECT_EQ(machine.files.Snapshot(), files);
  EXPECT_EQ(machine.registry.Snapshot(), registry);
  EXPECT_TRUE(folder.empty());
}

}  // namespace
}  // namespace registration
