// How sub-key paths name keys: roots, empty and odd paths, letter case, long names, and the
// registry views of a 64-bit program below HKEY_LOCAL_MACHINE\SOFTWARE.

#include <string>
#include <utility>

#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

using platform::RegKey;
namespace reg = platform::reg;

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int i = 0; i < times; ++i) result += text;
  return result;
}

TEST_P(RegistryContract, ANullOrEmptySubKeyOpensTheRootItself) {
  Make("Marker");
  for (const char* subKey : {static_cast<const char*>(nullptr), ""}) {
    RegKey root;
    ASSERT_EQ(registry().OpenKey(subject->ScratchRoot(), subKey, root), reg::kSuccess);
    RegKey below;
    ASSERT_EQ(Open(root, subject->ScratchPath(), below), reg::kSuccess);
    EXPECT_EQ(Names(below), std::vector<std::string>{"Marker"});
  }
  RegKey root;
  ASSERT_EQ(Open(subject->ScratchRoot(), "", root), reg::kSuccess);
  RegKey below;
  EXPECT_EQ(Open(root, subject->ScratchPath(), below), reg::kSuccess);
}

// Each way of opening a key "again" gives a handle of its own, so closing the first leaves
// the second working (a shared handle would be closed twice).
TEST_P(RegistryContract, AnEmptySubKeyOpensASecondHandleThatOutlivesTheFirst) {
  Make("Self");
  {
    RegKey self;
    ASSERT_EQ(Open(scratch, "Self", self, reg::kKeyAllAccess), reg::kSuccess);
    Put(self, "V", reg::kTypeSz, std::string("kept", 5));
  }
  platform::Registry& r = registry();
  const struct {
    const char* how;
    long (*open)(platform::Registry&, platform::KeyRef, RegKey&);
  } ways[] = {
      {"OpenKeyEx \"\"", [](platform::Registry& g, platform::KeyRef p, RegKey& k) {
         return g.OpenKeyEx(p, "", reg::kKeyRead, k);
       }},
      {"OpenKey \"\"", [](platform::Registry& g, platform::KeyRef p, RegKey& k) { return g.OpenKey(p, "", k); }},
      {"OpenKey null", [](platform::Registry& g, platform::KeyRef p, RegKey& k) { return g.OpenKey(p, nullptr, k); }},
      {"CreateKey \"\"", [](platform::Registry& g, platform::KeyRef p, RegKey& k) { return g.CreateKey(p, "", k); }},
      {"CreateKey null", [](platform::Registry& g, platform::KeyRef p, RegKey& k) { return g.CreateKey(p, nullptr, k); }},
  };
  for (const auto& way : ways) {
    RegKey first;
    ASSERT_EQ(Open(scratch, "Self", first), reg::kSuccess);
    RegKey second;
    ASSERT_EQ(way.open(r, first, second), reg::kSuccess) << way.how;
    EXPECT_NE(second.Value(), first.Value()) << way.how;
    first.Close();
    EXPECT_EQ(Read(second, "V").data, std::string("kept", 5)) << way.how;
  }
}

TEST_P(RegistryContract, TrailingBackslashesNameTheSameKey) {
  Make("A\\B");
  {
    RegKey b;
    ASSERT_EQ(Open(scratch, "A\\B", b, reg::kKeyAllAccess), reg::kSuccess);
    Put(b, "Here", reg::kTypeDword, std::string("\x01\x00\x00\x00", 4));
  }
  for (const char* path : {"A\\B\\", "A\\B\\\\", "a\\b\\"}) {
    RegKey key;
    ASSERT_EQ(Open(scratch, path, key), reg::kSuccess) << path;
    EXPECT_EQ(Read(key, "Here").result, reg::kSuccess) << path;
  }
  Make("C\\");
  EXPECT_EQ(Names(scratch), (std::vector<std::string>{"A", "C"}));
  EXPECT_TRUE(Names("C").empty());
}

TEST_P(RegistryContract, ADoubledBackslashSeparatesAsOneDoes) {
  Make("D\\\\E");
  EXPECT_EQ(Names(scratch), std::vector<std::string>{"D"});
  EXPECT_EQ(Names("D"), std::vector<std::string>{"E"});
  RegKey key;
  EXPECT_EQ(Open(scratch, "D\\\\E", key), reg::kSuccess);
  EXPECT_EQ(registry().DeleteKey(scratch, "D\\\\E"), reg::kSuccess);
  EXPECT_TRUE(Names("D").empty());
}

TEST_P(RegistryContract, ALeadingBackslashIsABadPathName) {
  Make("A");
  RegKey key;
  EXPECT_EQ(Open(scratch, "\\A", key), kBadPathname);
  EXPECT_EQ(registry().OpenKey(scratch, "\\", key), kBadPathname);
  EXPECT_EQ(registry().CreateKey(scratch, "\\C", key), kBadPathname);
  EXPECT_EQ(registry().DeleteKey(scratch, "\\A"), kBadPathname);
  EXPECT_EQ(Names(scratch), std::vector<std::string>{"A"});
}

TEST_P(RegistryContract, NamesMatchWithoutRegardToCaseAndKeepTheCaseTheyWereMadeWith) {
  Make("Alpha\\Beta");
  Make("全角ａ");
  RegKey key;
  EXPECT_EQ(Open(scratch, "ALPHA\\beta", key), reg::kSuccess);
  EXPECT_EQ(Open(scratch, "全角Ａ", key), reg::kSuccess) << "full-width letters have case too";
  EXPECT_EQ(Open(scratch, "全角Ｂ", key), reg::kFileNotFound);
  Make("alpha\\BETA");
  Make("全角Ａ");
  EXPECT_EQ(Names(scratch), (std::vector<std::string>{"Alpha", "全角ａ"}));
  EXPECT_EQ(Names("Alpha"), std::vector<std::string>{"Beta"});
}

// "乗" is 81 5C and "亅" is 81 7C in code page 936.
TEST_P(RegistryContract, TrailBytesThatLookLikeSeparatorsBelongToTheirCharacter) {
  const std::string name = "乗亅";
  ASSERT_EQ(name, "\x81\x5C\x81\x7C");
  Make(name + "\\Below");
  EXPECT_EQ(Names(scratch), std::vector<std::string>{name});
  EXPECT_EQ(Names(name), std::vector<std::string>{"Below"});
}

TEST_P(RegistryContract, AMissingKeyIsNotFoundAndTheKeyGivenIsClosed) {
  Make("A");
  for (const char* path : {"Missing", "Missing\\Below", "A\\Missing"}) {
    RegKey key;
    ASSERT_EQ(Open(scratch, "A", key), reg::kSuccess);
    EXPECT_EQ(Open(scratch, path, key), reg::kFileNotFound) << path;
    EXPECT_FALSE(key.IsOpen()) << path;
    ASSERT_EQ(Open(scratch, "A", key), reg::kSuccess);
    EXPECT_EQ(registry().OpenKey(scratch, path, key), reg::kFileNotFound) << path;
    EXPECT_FALSE(key.IsOpen()) << path;
  }
}

// Windows documents 255 characters, yet it makes keys of 256 and refuses 257 (so does Wine).
// Characters, not bytes: a Chinese character is one.
TEST_P(RegistryContract, KeyNamesOfUpTo256CharactersAreAccepted) {
  RegKey key;
  EXPECT_EQ(registry().CreateKey(scratch, std::string(256, 'k').c_str(), key), reg::kSuccess);
  EXPECT_EQ(Open(scratch, std::string(256, 'K'), key), reg::kSuccess);
  EXPECT_EQ(registry().CreateKey(scratch, Repeat("名", 256).c_str(), key), reg::kSuccess);

  for (const std::string& tooLong : {std::string(257, 'k'), Repeat("名", 257)}) {
    EXPECT_EQ(registry().CreateKey(scratch, tooLong.c_str(), key), reg::kInvalidParameter);
    EXPECT_EQ(Open(scratch, tooLong, key), reg::kInvalidParameter);
    EXPECT_EQ(registry().DeleteKey(scratch, tooLong.c_str()), reg::kInvalidParameter);
  }
  // The keys on the way are made before the long name is refused.
  EXPECT_EQ(registry().CreateKey(scratch, ("N\\" + std::string(257, 'n')).c_str(), key),
            reg::kInvalidParameter);
  EXPECT_EQ(Names(scratch).size(), 3u);
  EXPECT_TRUE(Names("N").empty());
}

TEST_P(RegistryContract, EachViewFlagOpensItsOwnKeyReadOnly) {
  const std::string& scratchPath = subject->ScratchPath();
  const std::string name =
      "ZelvarSetupContract\\" + scratchPath.substr(scratchPath.rfind('\\') + 1);
  const std::pair<std::string, const char*> keys[] = {{"SOFTWARE\\" + name, "64"},
                                                      {"SOFTWARE\\Wow6432Node\\" + name, "32"}};
  for (const auto& [path, bits] : keys) {
    RegKey key;
    ASSERT_EQ(registry().CreateKey(platform::RegRoot::LocalMachine, path.c_str(), key),
              reg::kSuccess);
    Put(key, "Bits", reg::kTypeSz, std::string(bits, 3));
  }
  for (const auto& [view, bits] : {std::pair{reg::kWow64_64Key, "64"}, {reg::kWow64_32Key, "32"}}) {
    RegKey key;
    ASSERT_EQ(Open(platform::RegRoot::LocalMachine, keys[0].first, key, reg::kKeyRead | view),
              reg::kSuccess);
    EXPECT_EQ(Read(key, "Bits").data, std::string(bits, 3)) << view;
    EXPECT_EQ(registry().SetValue(key, "W", reg::kTypeSz, nullptr, 0), reg::kAccessDenied);
  }
  for (const auto& [path, bits] : keys) {
    EXPECT_EQ(registry().DeleteKey(platform::RegRoot::LocalMachine, path.c_str()), reg::kSuccess);
  }
}

}  // namespace
}  // namespace contract
