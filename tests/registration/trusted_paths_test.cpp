#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/code_page.h"
#include "platform/memory/memory_platform.h"
#include "registration/trusted_paths.h"

namespace registration {
namespace {

using platform::RegRoot;

constexpr const char* kFolder = "C:\\Zelvar\\Zelvar批打印软件";
constexpr const char* kFolderUpper = "C:\\ZELVAR\\ZELVAR批打印软件";

// The rule on text of the active code page: what the value's narrow form would give.
std::string FormTrustedPathsValue(std::string_view current, std::string_view folder) {
  const unsigned codePage = ansi::ActiveCodePage();
  return code_page::FromUtf16(
      codePage, registration::FormTrustedPathsValue(code_page::ToUtf16(codePage, current),
                                                    code_page::ToUtf16(codePage, folder)));
}

class CodePage {
 public:
  explicit CodePage(unsigned codePage) { ansi::SetActiveCodePage(codePage); }
  ~CodePage() { ansi::SetActiveCodePage(ansi::kCodePage936); }
  CodePage(const CodePage&) = delete;
  CodePage& operator=(const CodePage&) = delete;
};

// Other programs' folders in scripts code page 936 lacks (Korean, an emoji), one it carries
// besides Chinese (kana), Chinese itself, and lower-case Cyrillic, which 936 carries with its
// upper-case partners and 1252 lacks.
constexpr char16_t kOtherPrograms[] =
    u"d:\\한국어\\폴더;e:\\日本語\\かな;f:\\\U0001F600;g:\\中文\\文件夹;h:\\дом";
const struct {
  unsigned codePage;
  const char16_t* expected;  // the other programs' entries afterwards
} kEveryScript[] = {
    {936,
     u"D:\\한국어\\폴더;E:\\日本語\\かな;F:\\\U0001F600;G:\\中文\\文件夹;H:\\ДОМ"},
    {1252,
     u"D:\\한국어\\폴더;E:\\日本語\\かな;F:\\\U0001F600;G:\\中文\\文件夹;H:\\дом"},
};

TEST(TrustedPathsValue, CharactersTheCodePageLacksSurviveWithTheirCase) {
  for (const auto& c : kEveryScript) {
    const CodePage codePage(c.codePage);
    EXPECT_EQ(registration::FormTrustedPathsValue(kOtherPrograms, u"x:\\Mine"),
              std::u16string(c.expected) + u";X:\\MINE")
        << c.codePage;
    // One character of two bytes counts as empty; a character the code page lacks counts as
    // the '?' it would be read as narrow, one per unit.
    EXPECT_EQ(registration::FormTrustedPathsValue(u"\U0001F600", u"x:\\m"), u"x:\\m");
    const std::u16string korean = u"한국어";  // outside the macro: its text is code page 936
    EXPECT_EQ(registration::FormTrustedPathsValue(korean, u"x:\\m"), korean + u";X:\\M");
    // The folder is found on whole characters and in any case of what the code page carries.
    EXPECT_EQ(registration::FormTrustedPathsValue(u"\U0001F600;y:\\mine", u"Y:\\MINE"),
              u"\U0001F600;Y:\\MINE");
  }
}

TEST(TrustedPathsValue, ValuesOfAtMostTwoBytesAreReplacedByTheFolderInItsOwnCase) {
  EXPECT_EQ(FormTrustedPathsValue("", kFolder), kFolder);
  EXPECT_EQ(FormTrustedPathsValue(";", kFolder), kFolder);
  EXPECT_EQ(FormTrustedPathsValue(".;", kFolder), kFolder);
  EXPECT_EQ(FormTrustedPathsValue("盘", kFolder), kFolder) << "one double-byte character";
  EXPECT_EQ(FormTrustedPathsValue("d:;", kFolder), std::string("D:;;") + kFolderUpper)
      << "three bytes already count";
}

TEST(TrustedPathsValue, AnotherFolderGetsTheProductFolderAppendedAndAllIsUpperCased) {
  EXPECT_EQ(FormTrustedPathsValue("d:\\tools", kFolder), std::string("D:\\TOOLS;") + kFolderUpper);
  EXPECT_EQ(FormTrustedPathsValue("d:\\tools;", kFolder),
            std::string("D:\\TOOLS;;") + kFolderUpper)
      << "a separator already at the end is not looked at";
  // Full-width letters have upper-case partners; Chinese characters, and the trail byte of a
  // double-byte character that looks like a letter, stay as they are.
  EXPECT_EQ(FormTrustedPathsValue("ｄ:\\工具\x81" "a", "e:\\x"), "Ｄ:\\工具\x81" "a;E:\\X");
}

TEST(TrustedPathsValue, AFolderAlreadyPresentAnywhereIsNotAppendedAgain) {
  EXPECT_EQ(FormTrustedPathsValue("c:\\zelvar\\zelvar批打印软件\\...", kFolder),
            std::string(kFolderUpper) + "\\...");
  EXPECT_EQ(FormTrustedPathsValue("d:\\a;C:\\Zelvar\\Zelvar批打印软件", kFolder),
            std::string("D:\\A;") + kFolderUpper);
  // A substring of a longer entry counts as present.
  EXPECT_EQ(FormTrustedPathsValue("x:\\c:\\zelvar\\zelvar批打印软件old", kFolder),
            std::string("X:\\") + kFolderUpper + "OLD");
}

TEST(TrustedPathsValue, AMatchNeverBeginsInsideADoubleByteCharacter) {
  // 0x81 0x5C is one character whose second byte is a backslash.
  const std::string current = "D:\\A\x81\\TOOLS";
  EXPECT_EQ(FormTrustedPathsValue(current, "\\tools"), current + ";\\TOOLS");
  EXPECT_EQ(FormTrustedPathsValue("D:\\A\\TOOLS", "\\tools"), "D:\\A\\TOOLS");
}

// Upper-casing as expected of an ASCII text with Chinese characters whose bytes are no letters.
std::string AsciiUpper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

class TrustedPaths : public ::testing::Test {
 protected:
  static std::string Variables(const std::string& release, const std::string& product,
                               const std::string& profile) {
    std::string path = "SOFTWARE\\Autodesk\\AutoCAD\\";
    path += release;
    path += '\\';
    path += product;
    path += "\\Profiles\\";
    path += profile;
    path += "\\Variables";
    return path;
  }

  std::optional<std::u16string> TrustedWide(const std::string& variables) const {
    return machine.registry.ReadStringWide(RegRoot::CurrentUser, variables, "TRUSTEDPATHS");
  }

  std::optional<std::string> Trusted(const std::string& variables) const {
    return machine.registry.ReadString(RegRoot::CurrentUser, variables, "TRUSTEDPATHS");
  }

  std::uint32_t TrustedType(const std::string& variables) const {
    const auto value = machine.registry.ReadValue(RegRoot::CurrentUser, variables, "TRUSTEDPATHS");
    return value ? value->type : platform::reg::kTypeNone;
  }

  void Update() {
    UpdateTrustedPaths(inventory, machine.registry);
    EXPECT_EQ(machine.registry.OpenHandleCount(), 0u);
  }

  platform::MemoryPlatform machine;
  discovery::InstallationInventory inventory{machine.Get()};

  void SetUp() override { inventory.installFolder = kFolder; }
};

TEST_F(TrustedPaths, EveryProfileOfEveryProductOfEveryReleaseKeyIsUpdated) {
  const std::string a = Variables("R17.1", "ACAD-6001:804", "<<未命名配置>>");
  const std::string b = Variables("R17.1", "ACAD-6001:804", "Plot");
  const std::string c = Variables("R24.0", "ACAD-8101:409", "<<Unnamed Profile>>");
  const std::string d = Variables("R99.9", "Unknown", "P");  // a release no table row knows
  auto& registry = machine.registry;
  ASSERT_TRUE(registry.SetString(RegRoot::CurrentUser, a, "TRUSTEDPATHS", "d:\\tools"));
  ASSERT_TRUE(registry.SetString(RegRoot::CurrentUser, b, "TRUSTEDPATHS", ".;"));
  ASSERT_TRUE(registry.CreateKeyPath(RegRoot::CurrentUser, c));
  ASSERT_TRUE(registry.SetString(RegRoot::CurrentUser, d, "TRUSTEDPATHS", "c:\\zelvar\\zelvar批打印软件"));
  ASSERT_TRUE(registry.SetString(RegRoot::CurrentUser, a, "OTHER", "kept"));

  Update();
  EXPECT_EQ(Trusted(a), std::string("D:\\TOOLS;") + kFolderUpper);
  EXPECT_EQ(Trusted(b), kFolder);
  EXPECT_EQ(Trusted(c), kFolder) << "a missing value is created";
  EXPECT_EQ(Trusted(d), kFolderUpper);
  EXPECT_EQ(TrustedType(c), platform::reg::kTypeSz);
  EXPECT_EQ(registry.ReadString(RegRoot::CurrentUser, a, "OTHER"), "kept");
  const auto stored = registry.ReadValue(RegRoot::CurrentUser, c, "TRUSTEDPATHS");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->data.size(), std::string(kFolder).size() + 1) << "stored with its NUL";

  Update();
  EXPECT_EQ(Trusted(a), std::string("D:\\TOOLS;") + kFolderUpper) << "a second run adds nothing";
  EXPECT_EQ(Trusted(c), kFolderUpper) << "but rewrites the value upper-cased";
}

TEST_F(TrustedPaths, NoEntryOfAnotherProgramIsLostWhateverItsScriptOrTheCodePage) {
  const std::string variables = Variables("R24.1", "ACAD-7101:804", "<<未命名配置>>");
  for (const auto& c : kEveryScript) {
    const CodePage codePage(c.codePage);
    ASSERT_TRUE(machine.registry.SetStringWide(RegRoot::CurrentUser, variables, "TRUSTEDPATHS",
                                               kOtherPrograms));
    // Under 1252 the product folder's Chinese name is the code page 936 bytes of the
    // program's text, taken as 1252 characters: the very folder the installation made.
    const std::u16string folder = code_page::ToUtf16(c.codePage, kFolder);
    std::u16string folderUpper = folder;
    for (char16_t& unit : folderUpper) {
      if (unit >= u'a' && unit <= u'z') unit = static_cast<char16_t>(unit - u'a' + u'A');
    }
    Update();
    Update();
    EXPECT_EQ(TrustedWide(variables), std::u16string(c.expected) + u";" + folderUpper)
        << c.codePage << ": every entry kept, the folder added once";
  }
}

TEST_F(TrustedPaths, AProfileWithoutVariablesGetsTheKeyWithOnlyTrustedPaths) {
  const std::string variables = Variables("R18.0", "ACAD-8001:804", "P");
  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser,
                                             "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804\\"
                                             "Profiles\\P"));
  Update();
  EXPECT_EQ(Trusted(variables), kFolder);
  EXPECT_EQ(machine.registry.SubKeyNames(RegRoot::CurrentUser, variables).size(), 0u);
  const auto value = machine.registry.ReadValue(RegRoot::CurrentUser, variables, "");
  EXPECT_FALSE(value);
}

TEST_F(TrustedPaths, WithoutAutoCADKeysOrProfilesNothingIsWritten) {
  Update();
  EXPECT_EQ(machine.registry.WriteCount(), 0u);

  ASSERT_TRUE(machine.registry.CreateKeyPath(RegRoot::CurrentUser,
                                             "SOFTWARE\\Autodesk\\AutoCAD\\R18.0\\ACAD-8001:804"));
  ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, "SOFTWARE\\Autodesk\\AutoCAD\\R18.0",
                                         "CurVer", "ACAD-8001:804"));
  Update();
  EXPECT_EQ(machine.registry.WriteCount(), 0u) << "a product without Profiles";
}

TEST_F(TrustedPaths, AnExpandableValueIsReadAsTextAndWrittenBackAsPlainString) {
  const std::string variables = Variables("R19.1", "ACAD-D001:804", "P");
  ASSERT_TRUE(machine.registry.SetExpandString(RegRoot::CurrentUser, variables, "TRUSTEDPATHS",
                                               "%appdata%\\x"));
  Update();
  EXPECT_EQ(Trusted(variables), std::string("%APPDATA%\\X;") + kFolderUpper);
  EXPECT_EQ(TrustedType(variables), platform::reg::kTypeSz);
}

TEST_F(TrustedPaths, AValueFarLongerThanAutoCADsBufferIsReadAndWrittenWhole) {
  const std::string absent = Variables("R20.0", "ACAD-E001:804", "Absent");
  const std::string present = Variables("R20.0", "ACAD-E001:804", "Present");
  std::string longValue;
  while (longValue.size() < 20000) longValue += "d:\\other\\folder;";
  longValue.resize(20000);
  ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, absent, "TRUSTEDPATHS", longValue));
  // The folder lies beyond the first 13000 bytes: only a whole read finds it.
  std::string withFolder = longValue.substr(0, 15000) + ";c:\\zelvar\\zelvar批打印软件;x:\\end";
  ASSERT_TRUE(
      machine.registry.SetString(RegRoot::CurrentUser, present, "TRUSTEDPATHS", withFolder));

  Update();
  EXPECT_EQ(Trusted(absent), AsciiUpper(longValue) + ";" + kFolderUpper);
  EXPECT_EQ(Trusted(present), AsciiUpper(withFolder)) << "found, so nothing appended";
}

TEST_F(TrustedPaths, AValueThatCannotBeReadIsLeftAlone) {
  const std::string hidden = Variables("R21.0", "ACAD-F001:804", "Hidden");
  const std::string open = Variables("R21.0", "ACAD-F001:804", "Open");
  ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, hidden, "TRUSTEDPATHS", "d:\\mine"));
  ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, open, "TRUSTEDPATHS", "d:\\mine"));
  // Writable but not readable: writing the folder alone would wipe the entries there.
  ASSERT_TRUE(machine.registry.DenyRead(RegRoot::CurrentUser, hidden));
  Update();
  EXPECT_EQ(Trusted(hidden), "d:\\mine");
  EXPECT_EQ(Trusted(open), std::string("D:\\MINE;") + kFolderUpper);
}

TEST_F(TrustedPaths, HundredsOfProfilesAreAllUpdated) {
  for (int profile = 0; profile < 400; ++profile) {
    const std::string name = "Profile " + std::to_string(profile);
    ASSERT_TRUE(machine.registry.SetString(
        RegRoot::CurrentUser, Variables("R23.1", "ACAD-7101:804", name), "TRUSTEDPATHS",
        "d:\\p" + std::to_string(profile)));
  }
  Update();
  for (int profile = 0; profile < 400; ++profile) {
    const std::string name = "Profile " + std::to_string(profile);
    ASSERT_EQ(Trusted(Variables("R23.1", "ACAD-7101:804", name)),
              "D:\\P" + std::to_string(profile) + ";" + kFolderUpper)
        << name;
  }
}

TEST_F(TrustedPaths, AReleaseOrProfileListThatCannotBeOpenedDropsOutAndTheOthersGoOn) {
  const std::string locked = Variables("R17.0", "ACAD-5001:804", "P");
  const std::string fine = Variables("R17.2", "ACAD-7001:804", "P");
  ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, locked, "TRUSTEDPATHS", "d:\\a"));
  ASSERT_TRUE(machine.registry.SetString(RegRoot::CurrentUser, fine, "TRUSTEDPATHS", "d:\\a"));
  ASSERT_TRUE(machine.registry.DenyRead(RegRoot::CurrentUser, "SOFTWARE\\Autodesk\\AutoCAD\\R17.0"));
  Update();
  EXPECT_EQ(Trusted(locked), "d:\\a");
  EXPECT_EQ(Trusted(fine), std::string("D:\\A;") + kFolderUpper);
}

}  // namespace
}  // namespace registration
