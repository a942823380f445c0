// What a handle may do with the access it was opened with.

#include <string>

#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

using platform::RegKey;
namespace reg = platform::reg;

long AsResult(bool allowed) { return allowed ? reg::kSuccess : reg::kAccessDenied; }

TEST_P(RegistryContract, AHandleDoesWhatItsAccessAllowsAndNothingElse) {
  Make("Key\\Sub");
  {
    RegKey key;
    ASSERT_EQ(Open(scratch, "Key", key, reg::kKeyAllAccess), reg::kSuccess);
    Put(key, "V", reg::kTypeSz, std::string("v", 2));
  }
  const struct {
    const char* name;
    std::uint32_t access;
    bool query, enumerate, set;
  } masks[] = {
      {"KEY_READ", reg::kKeyRead, true, true, false},
      {"KEY_WRITE", reg::kKeyWrite, false, false, true},
      {"nothing", 0, false, false, false},
      {"KEY_QUERY_VALUE", kKeyQueryValue, true, false, false},
      {"KEY_ENUMERATE_SUB_KEYS", kKeyEnumerateSubKeys, false, true, false},
      {"GENERIC_READ", kGenericRead, true, true, false},
      {"MAXIMUM_ALLOWED", kMaximumAllowed, true, true, true},
      {"KEY_ALL_ACCESS", reg::kKeyAllAccess, true, true, true},
  };
  for (const auto& mask : masks) {
    RegKey key;
    ASSERT_EQ(Open(scratch, "Key", key, mask.access), reg::kSuccess) << mask.name;
    EXPECT_EQ(Read(key, "V").result, AsResult(mask.query)) << mask.name;
    char name[16];
    std::uint32_t length = sizeof name;
    EXPECT_EQ(registry().EnumKey(key, 0, name, length), AsResult(mask.enumerate)) << mask.name;
    EXPECT_EQ(registry().SetValue(key, "W", reg::kTypeSz, nullptr, 0), AsResult(mask.set))
        << mask.name;
    std::uint32_t count = 0;
    EXPECT_EQ(registry().QuerySubKeyCount(key, count),
              AsResult(mask.query || Differences().subKeyCountNeedsNoAccess))
        << mask.name;
  }
}

TEST_P(RegistryContract, KeysOpenedWithoutAnAccessMaskMayReadAndWrite) {
  Make("Key\\Sub");
  RegKey opened;
  ASSERT_EQ(registry().OpenKey(scratch, "Key", opened), reg::kSuccess);
  RegKey created;
  ASSERT_EQ(registry().CreateKey(scratch, "Key", created), reg::kSuccess);
  for (const RegKey* key : {&opened, &created}) {
    Put(*key, "V", reg::kTypeDword, std::string(4, '\x01'));
    EXPECT_EQ(Read(*key, "V").result, reg::kSuccess);
    EXPECT_EQ(Names(*key), std::vector<std::string>{"Sub"});
  }
}

// The handle of the parent needs no access of its own for these: the key's own permissions
// decide (as Wine shows).
TEST_P(RegistryContract, SubKeysAreMadeOpenedAndDeletedThroughAHandleOfAnyAccess) {
  RegKey parent;
  ASSERT_EQ(Open(scratch, "", parent, 0), reg::kSuccess);
  RegKey key;
  EXPECT_EQ(registry().CreateKey(parent, "New", key), reg::kSuccess);
  EXPECT_EQ(Open(parent, "New", key), reg::kSuccess);
  EXPECT_EQ(registry().DeleteKey(parent, "New"), reg::kSuccess);
  EXPECT_TRUE(Names(scratch).empty());
}

}  // namespace
}  // namespace contract
