// What the key-info query tells of a key's values: the start-up scan skips the value reads
// at a key whose figures say the value cannot be there, so they must be right.

#include <string>

#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

using platform::RegKey;
namespace reg = platform::reg;

// The longest name is counted in UTF-16 units without the NUL, also by the narrow function:
// "批打印软件" is 5, not its 10 bytes in code page 936. The default value counts as a value
// whose name is empty.
TEST_P(RegistryContract, KeyInfoCountsTheValuesAndTheLongestNameInUtf16Units) {
  Make("None\\Sub");
  {
    RegKey ascii;
    ASSERT_EQ(registry().CreateKey(scratch, "Ascii", ascii), reg::kSuccess);
    Put(ascii, "A", reg::kTypeSz, std::string("a", 2));
    Put(ascii, "ProductName", reg::kTypeSz, std::string("p", 2));
    Put(ascii, "AcadLocation", reg::kTypeSz, std::string("c", 2));
    Put(ascii, nullptr, reg::kTypeSz, std::string("d", 2));
    RegKey chinese;
    ASSERT_EQ(registry().CreateKey(scratch, "Chinese", chinese), reg::kSuccess);
    Put(chinese, "批打印软件", reg::kTypeDword, std::string(4, '\x01'));
    Put(chinese, "Abcd", reg::kTypeDword, std::string(4, '\x02'));
  }
  const struct {
    const char* path;
    std::uint32_t subKeys, values, longestName;
  } cases[] = {
      {"None", 1, 0, 0},
      {"Ascii", 0, 4, 12},
      {"Chinese", 0, 2, 5},
  };
  for (const auto& c : cases) {
    RegKey key;
    ASSERT_EQ(Open(scratch, c.path, key), reg::kSuccess) << c.path;
    platform::KeyInfo info{99, 99, 99};
    ASSERT_EQ(registry().QueryKeyInfo(key, info), reg::kSuccess) << c.path;
    EXPECT_EQ(info.subKeyCount, c.subKeys) << c.path;
    EXPECT_EQ(info.valueCount, c.values) << c.path;
    EXPECT_EQ(info.maxValueNameLength, c.longestName) << c.path;
  }
}

}  // namespace
}  // namespace contract
