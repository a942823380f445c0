// The trusted-paths update against the real HKEY_CURRENT_USER of the Wine prefix (the test
// program has a prefix of its own, so AutoCAD's key there belongs to this test).

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
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

// The program follows the ANSI code page of the machine (936 by default here; the same tests
// also run with 1252), as its start-up makes it do.
class TrustedPathsOnWine : public ::testing::Test {
 protected:
  void SetUp() override { ansi::SetActiveCodePage(GetACP()); }
  void TearDown() override { ansi::SetActiveCodePage(ansi::kCodePage936); }
};

TEST_F(TrustedPathsOnWine, EveryProfileOfTheCurrentUserTrustsTheProductFolder) {
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

std::wstring Widen(const std::string& text) {
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), units);
  return wide;
}

bool PutWide(const std::string& path, const std::wstring& text) {
  HKEY key = nullptr;
  if (RegCreateKeyA(HKEY_CURRENT_USER, path.c_str(), &key) != ERROR_SUCCESS) return false;
  const LONG result =
      RegSetValueExW(key, L"TRUSTEDPATHS", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

// The value as RegQueryValueExW gives it, up to its first NUL.
std::wstring GetWide(const std::string& path, DWORD& type) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  DWORD size = 0;
  std::wstring text;
  if (RegQueryValueExW(key, L"TRUSTEDPATHS", nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
    text.resize(size / sizeof(wchar_t) + 1);
    RegQueryValueExW(key, L"TRUSTEDPATHS", nullptr, &type, reinterpret_cast<BYTE*>(text.data()),
                     &size);
  }
  RegCloseKey(key);
  return text.substr(0, text.find(L'\0'));
}

std::vector<std::wstring> Entries(const std::wstring& value) {
  std::vector<std::wstring> entries;
  std::size_t start = 0;
  for (std::size_t end; (end = value.find(L';', start)) != std::wstring::npos; start = end + 1) {
    entries.push_back(value.substr(start, end - start));
  }
  entries.push_back(value.substr(start));
  return entries;
}

// How many entries equal `entry` without regard to case, as Windows compares.
int CountNoCase(const std::vector<std::wstring>& entries, const std::wstring& entry) {
  int count = 0;
  for (const std::wstring& candidate : entries) {
    if (CompareStringOrdinal(candidate.c_str(), static_cast<int>(candidate.size()), entry.c_str(),
                             static_cast<int>(entry.size()), TRUE) == CSTR_EQUAL) {
      ++count;
    }
  }
  return count;
}

// Folders of other programs in Korean, Japanese kana, an emoji, Chinese and Cyrillic: code
// page 936 lacks the first and the third, 1252 lacks all but the Latin letters. Through the
// narrow functions each of those would come back as '?' and be written back so.
TEST_F(TrustedPathsOnWine, NoEntryOfAnotherProgramIsLostWhateverItsScript) {
  const AutoCADKeyOfTheTest acadKey;
  std::string release = AutoCADKeyOfTheTest::kPath;
  release += "\\R99.1-test-";
  release += Pid();
  const ScratchKey scratch(HKEY_CURRENT_USER, release);
  const std::string variables = release + "\\ACAD-9901:804\\Profiles\\P\\Variables";
  const std::vector<std::wstring> others = {
      L"d:\\한국어\\폴더", L"e:\\日本語\\かな", L"f:\\\U0001F600\\x",
      L"g:\\中文\\文件夹", L"h:\\дом"};
  std::wstring value;
  for (const std::wstring& entry : others) value += entry + L";";
  value.pop_back();
  ASSERT_TRUE(PutWide(variables, value));

  platform::Win32Platform machine;
  discovery::InstallationInventory inventory{machine.Get()};
  // Under 1252 the folder's Chinese name is other characters, those of the folder the
  // installation made.
  inventory.installFolder = "C:\\Zelvar\\Zelvar批打印软件";
  UpdateTrustedPaths(inventory, machine.registry);
  UpdateTrustedPaths(inventory, machine.registry);

  DWORD type = REG_NONE;
  const std::vector<std::wstring> entries = Entries(GetWide(variables, type));
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  for (const std::wstring& entry : others) {
    EXPECT_EQ(CountNoCase(entries, entry), 1) << "code page " << GetACP() << ", entry "
                                              << &entry - others.data();
  }
  EXPECT_EQ(CountNoCase(entries, Widen(inventory.installFolder)), 1) << "code page " << GetACP();
  EXPECT_EQ(entries.size(), others.size() + 1);
}

}  // namespace
}  // namespace registration
