// The trusted-paths update against the real HKEY_CURRENT_USER of the Wine prefix (the test
// program has a prefix of its own, so AutoCAD's key there belongs to this test).

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "discovery/installation_inventory.h"
#include "platform/win32/win32_platform.h"
#include "registration/trusted_paths.h"
#include "tests/registration/win32/scratch.h"

namespace registration {
namespace {

using namespace win32_testing;

constexpr const char* kFolderUpper = "C:\\ZELVAR\\ZELVAR批打印软件";

// Removes AutoCAD's key again at the end when the test was the one that made it.
class AutoCADKeyOfTheTest {
 public:
  AutoCADKeyOfTheTest() {
    HKEY key = nullptr;
    existed_ = RegOpenKeyExA(HKEY_CURRENT_USER, kPath, 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (existed_) RegCloseKey(key);
  }
  ~AutoCADKeyOfTheTest() {
    if (existed_) return;
    RegDeleteTreeA(HKEY_CURRENT_USER, kPath);
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");  // only when nothing else is there
  }
  AutoCADKeyOfTheTest(const AutoCADKeyOfTheTest&) = delete;
  AutoCADKeyOfTheTest& operator=(const AutoCADKeyOfTheTest&) = delete;

  static constexpr const char* kPath = "SOFTWARE\\Autodesk\\AutoCAD";

 private:
  bool existed_ = false;
};

TEST(TrustedPathsOnWine, EveryProfileOfTheCurrentUserTrustsTheProductFolder) {
  const AutoCADKeyOfTheTest acadKey;
  std::string release = AutoCADKeyOfTheTest::kPath;
  release += "\\R99.0-test-";
  release += Pid();
  const ScratchKey scratch(HKEY_CURRENT_USER, release);
  const std::string profiles = release + "\\ACAD-9901:804\\Profiles\\";
  const std::string expandable = profiles + "<<未命名配置>>\\Variables";
  const std::string longValue = profiles + "Long\\Variables";
  const std::string bare = profiles + "Bare\\Variables";
  ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, expandable, "TRUSTEDPATHS", REG_EXPAND_SZ,
                       std::string("d:\\tools;", 10)));
  std::string text;
  while (text.size() < 20000) text += "d:\\another\\program;";
  text.resize(20000);
  ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, longValue, "TRUSTEDPATHS", REG_SZ, text + '\0'));
  ASSERT_TRUE(PutKey(HKEY_CURRENT_USER, profiles + "Bare"));

  platform::Win32Platform machine;
  discovery::InstallationInventory inventory{machine.Get()};
  inventory.installFolder = "C:\\Zelvar\\Zelvar批打印软件";
  UpdateTrustedPaths(inventory, machine.registry);

  const ValueRead first = GetValue(HKEY_CURRENT_USER, expandable, "TRUSTEDPATHS");
  EXPECT_EQ(first.type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(Text(first), std::string("D:\\TOOLS;;") + kFolderUpper);

  std::string upper = text;
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  const ValueRead second = GetValue(HKEY_CURRENT_USER, longValue, "TRUSTEDPATHS");
  EXPECT_EQ(Text(second), upper + ";" + kFolderUpper) << "read and written whole";
  EXPECT_EQ(Text(GetValue(HKEY_CURRENT_USER, bare, "TRUSTEDPATHS")),
            "C:\\Zelvar\\Zelvar批打印软件")
      << "the missing Variables key was created";
}

}  // namespace
}  // namespace registration
