// The trusted-paths update against the real HKEY_CURRENT_USER of a Wine prefix, with the text
// helpers set as the program sets them at start (from the system's code page), and a profile
// whose name ends in a character with the second byte 0x5C. ctest runs this program under code
// page 936 and again under 950; SETUP_EXPECTED_ACP names the code page a run is meant for.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/ansi_code_page.h"
#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/win32/win32_platform.h"
#include "registration/trusted_paths.h"
#include "tests/registration/win32/scratch.h"

namespace registration {
namespace {

using namespace win32_testing;

constexpr const char* kAutoCAD = "SOFTWARE\\Autodesk\\AutoCAD";

// A character of the code page whose second byte is 0x5C, or nothing.
std::string CharacterEndingIn0x5C(unsigned codePage) {
  switch (codePage) {
    case 932: return "\x83\x5C";  // ソ
    case 936: return "\x81\x5C";  // 乗
    case 950: return "\xA5\x5C";  // 功
    default: return {};
  }
}

std::vector<std::string> SubKeyNames(const std::string& path) {
  std::vector<std::string> names;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return names;
  }
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(key, index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, size);
  }
  RegCloseKey(key);
  std::sort(names.begin(), names.end());
  return names;
}

TEST(TrustedPathsCodePageOnWine, AProfileNameEndingInATrailByte0x5CGetsTheFolder) {
  if (const char* expected = std::getenv("SETUP_EXPECTED_ACP")) {
    ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected))) << "the run's locale took no hold";
  }
  ASSERT_TRUE(app::UseAnsiCodePage());
  const std::string character = CharacterEndingIn0x5C(GetACP());
  if (character.empty()) GTEST_SKIP() << "code page " << GetACP() << " has no such character";

  HKEY existing = nullptr;
  const bool autoCADExisted =
      RegOpenKeyExA(HKEY_CURRENT_USER, kAutoCAD, 0, KEY_READ, &existing) == ERROR_SUCCESS;
  if (autoCADExisted) RegCloseKey(existing);
  {
    const ScratchKey release(HKEY_CURRENT_USER,
                             std::string(kAutoCAD) + "\\R99.0-code-page-" + Pid());
    const std::string profiles = release.Path() + "\\ACAD-9901:409\\Profiles";
    const std::string plot = "Plot" + character;
    const std::string bare = "Bare" + character;  // a profile without a Variables key
    ASSERT_TRUE(PutValue(HKEY_CURRENT_USER, profiles + "\\" + plot + "\\Variables",
                         "TRUSTEDPATHS", REG_SZ, std::string("d:\\tools", 9)));
    ASSERT_TRUE(PutKey(HKEY_CURRENT_USER, profiles + "\\" + bare));
    ASSERT_EQ(SubKeyNames(profiles), (std::vector<std::string>{bare, plot}))
        << "Windows keeps the names whole";

    platform::Win32Platform machine;
    discovery::InstallationInventory inventory{machine.Get()};
    inventory.installFolder = "C:\\Zelvar\\Plot" + character;
    UpdateTrustedPaths(inventory, machine.registry);

    EXPECT_EQ(Text(GetValue(HKEY_CURRENT_USER, profiles + "\\" + plot + "\\Variables",
                            "TRUSTEDPATHS")),
              "D:\\TOOLS;C:\\ZELVAR\\PLOT" + character);
    EXPECT_EQ(Text(GetValue(HKEY_CURRENT_USER, profiles + "\\" + bare + "\\Variables",
                            "TRUSTEDPATHS")),
              inventory.installFolder);
    EXPECT_EQ(SubKeyNames(profiles), (std::vector<std::string>{bare, plot}))
        << "no key named after a cut profile name";
  }
  if (!autoCADExisted) {
    RegDeleteTreeA(HKEY_CURRENT_USER, kAutoCAD);
    RegDeleteKeyA(HKEY_CURRENT_USER, "SOFTWARE\\Autodesk");  // only when nothing else is there
  }
  ansi::SetActiveCodePage(ansi::kCodePage936);
}

}  // namespace
}  // namespace registration
