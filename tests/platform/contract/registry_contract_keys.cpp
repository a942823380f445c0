// Keys made, deleted and held: creation on the way, deletion rules, stale handles.

#include <string>
#include <vector>

#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

using platform::RegKey;
namespace reg = platform::reg;
using Names_ = std::vector<std::string>;

TEST_P(RegistryContract, CreateKeyMakesEveryMissingKeyOnTheWay) {
  RegKey x;
  ASSERT_EQ(registry().CreateKey(scratch, "Applications\\X", x), reg::kSuccess);
  Put(x, "Made", reg::kTypeDword, std::string(4, '\0'));
  EXPECT_EQ(Names(scratch), Names_{"Applications"});
  EXPECT_EQ(Names("Applications"), Names_{"X"});
}

TEST_P(RegistryContract, CreateKeyOpensAnExistingKeyAndLeavesItsContent) {
  Make("Existing\\Sub");
  {
    RegKey existing;
    ASSERT_EQ(Open(scratch, "Existing", existing, reg::kKeyAllAccess), reg::kSuccess);
    Put(existing, "Kept", reg::kTypeSz, std::string("yes", 4));
  }
  RegKey again;
  ASSERT_EQ(registry().CreateKey(scratch, "EXISTING", again), reg::kSuccess);
  EXPECT_EQ(Read(again, "Kept").data, std::string("yes", 4));
  EXPECT_EQ(Names(again), Names_{"Sub"});
  EXPECT_EQ(Names(scratch), Names_{"Existing"});
}

TEST_P(RegistryContract, DeleteKeyRemovesOnlyAKeyWithoutSubKeys) {
  Make("Parent\\Child");
  EXPECT_EQ(registry().DeleteKey(scratch, "Parent"), reg::kAccessDenied);
  EXPECT_EQ(Names("Parent"), Names_{"Child"});
  EXPECT_EQ(registry().DeleteKey(scratch, "Missing"), reg::kFileNotFound);
  EXPECT_EQ(registry().DeleteKey(scratch, "Missing\\Child"), reg::kFileNotFound);
  EXPECT_EQ(registry().DeleteKey(scratch, nullptr), reg::kInvalidParameter);
  EXPECT_EQ(registry().DeleteKey(scratch, "parent\\child\\"), reg::kSuccess);
  EXPECT_EQ(registry().DeleteKey(scratch, "Parent"), reg::kSuccess);
  EXPECT_TRUE(Names(scratch).empty());
}

TEST_P(RegistryContract, DeleteKeyWithAnEmptySubKeyDeletesTheKeyItself) {
  Make("Self");
  Make("Full\\Child");
  RegKey self;
  ASSERT_EQ(Open(scratch, "Self", self), reg::kSuccess);
  EXPECT_EQ(registry().DeleteKey(self, ""), reg::kSuccess);
  RegKey full;
  ASSERT_EQ(Open(scratch, "Full", full), reg::kSuccess);
  EXPECT_EQ(registry().DeleteKey(full, ""), reg::kAccessDenied);
  EXPECT_EQ(Names(scratch), Names_{"Full"});
}

// A key deleted while a handle is open on it fails every use of the handle, even once a key
// of the same name exists again.
TEST_P(RegistryContract, AHandleToADeletedKeyAnswersKeyDeleted) {
  Make("Gone");
  RegKey gone;
  ASSERT_EQ(Open(scratch, "Gone", gone, reg::kKeyAllAccess), reg::kSuccess);
  ASSERT_EQ(registry().DeleteKey(scratch, "Gone"), reg::kSuccess);
  for (int round = 0; round < 2; ++round) {
    std::uint32_t count = 0;
    EXPECT_EQ(registry().QuerySubKeyCount(gone, count), kKeyDeleted);
    char name[16];
    std::uint32_t length = sizeof name;
    EXPECT_EQ(registry().EnumKey(gone, 0, name, length), kKeyDeleted);
    std::uint32_t type = 99;
    std::uint32_t size = 0;
    EXPECT_EQ(registry().QueryValue(gone, "V", &type, nullptr, &size), kKeyDeleted);
    EXPECT_EQ(type, reg::kTypeNone);
    EXPECT_EQ(registry().SetValue(gone, "V", reg::kTypeSz, nullptr, 0), kKeyDeleted);
    RegKey below;
    EXPECT_EQ(registry().CreateKey(gone, "Below", below), kKeyDeleted);
    EXPECT_EQ(registry().OpenKeyEx(gone, "", reg::kKeyRead, below), kKeyDeleted);
    EXPECT_EQ(registry().DeleteKey(gone, ""), kKeyDeleted);
    Make("Gone");
  }
  EXPECT_TRUE(Names("Gone").empty());
}

TEST_P(RegistryContract, AKeyThatIsNotOpenIsAnInvalidHandle) {
  const RegKey closed;
  std::uint32_t count = 0;
  EXPECT_EQ(registry().QuerySubKeyCount(closed, count), kInvalidHandle);
  char name[16];
  std::uint32_t length = sizeof name;
  EXPECT_EQ(registry().EnumKey(closed, 0, name, length), kInvalidHandle);
  std::uint32_t type = 99;
  std::uint32_t size = sizeof name;
  EXPECT_EQ(registry().QueryValue(closed, "V", &type, reinterpret_cast<unsigned char*>(name), &size),
            kInvalidHandle);
  EXPECT_EQ(type, 99u) << "nothing is answered for an unknown handle";
  EXPECT_EQ(registry().SetValue(closed, "V", reg::kTypeSz, nullptr, 0), kInvalidHandle);
  RegKey key;
  EXPECT_EQ(registry().OpenKeyEx(closed, "X", reg::kKeyRead, key), kInvalidHandle);
  EXPECT_EQ(registry().CreateKey(closed, "X", key), kInvalidHandle);
  EXPECT_EQ(registry().DeleteKey(closed, "X"), kInvalidHandle);
}

TEST_P(RegistryContract, AKeyMayBeTheParentOfTheKeyThatReplacesIt) {
  Make("A\\B");
  RegKey key;
  ASSERT_EQ(Open(scratch, "A", key), reg::kSuccess);
  ASSERT_EQ(Open(key, "B", key), reg::kSuccess);
  EXPECT_TRUE(Names(key).empty());
  Make("A\\B\\C");
  EXPECT_EQ(Names(key), Names_{"C"}) << "the key now open is A\\B";
}

}  // namespace
}  // namespace contract
