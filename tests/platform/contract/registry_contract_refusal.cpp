// A key whose security refuses new values, as HKEY_LOCAL_MACHINE's keys refuse a user without
// administrator rights: the setup still opens it, and learns of the refusal from the write.

#include <string>

#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

using platform::RegKey;
namespace reg = platform::reg;

TEST_P(RegistryContract, AKeyThatRefusesValuesStillOpensAndOnlyItsValueWritesFail) {
  Make("Key\\Sub");
  {
    RegKey key;
    ASSERT_EQ(Open(scratch, "Key", key, reg::kKeyAllAccess), reg::kSuccess);
    Put(key, "V", reg::kTypeSz, std::string("v", 2));
  }
  ASSERT_TRUE(subject->DenySettingValues("Key"));

  RegKey opened;
  ASSERT_EQ(registry().OpenKey(scratch, "Key", opened), reg::kSuccess);
  RegKey created;
  ASSERT_EQ(registry().CreateKey(scratch, "Key", created), reg::kSuccess);
  for (const RegKey* key : {&opened, &created}) {
    EXPECT_EQ(registry().SetValue(*key, "W", reg::kTypeSz,
                                  reinterpret_cast<const unsigned char*>("w"), 2),
              reg::kAccessDenied);
    EXPECT_EQ(Read(*key, "V").data, std::string("v", 2));
  }
  EXPECT_EQ(Read(opened, "W").result, reg::kFileNotFound);
  EXPECT_NE(registry().DeleteKey(scratch, "Key"), reg::kSuccess) << "it has a sub-key";
}

}  // namespace
}  // namespace contract
