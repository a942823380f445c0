// Listing sub-keys: their order, the name buffer, the count.

#include <cstring>
#include <string>
#include <vector>

#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

using platform::RegKey;
namespace reg = platform::reg;
using Names_ = std::vector<std::string>;

TEST_P(RegistryContract, SubKeysAreListedByNameWhateverOrderTheyWereMadeIn) {
  Make("Product\\ACAD-8001:804");
  Make("Product\\ACAD-8001:409");
  EXPECT_EQ(Names("Product"), (Names_{"ACAD-8001:409", "ACAD-8001:804"}));

  for (const char* name : {"b", "ｂ", "A", "C", "Ａ", "a1"}) Make(std::string("Mixed\\") + name);
  EXPECT_EQ(Names("Mixed"), (Names_{"A", "a1", "b", "C", "Ａ", "ｂ"}));

  Make("Between\\_x");
  Make("Between\\Z");
  EXPECT_EQ(Names("Between"), Differences().ordersByLowerCase ? (Names_{"_x", "Z"})
                                                               : (Names_{"Z", "_x"}));

  Make("Chinese\\啊");
  Make("Chinese\\中");
  EXPECT_EQ(Names("Chinese"), Differences().ordersDoubleByteNamesByCodePage ? (Names_{"啊", "中"})
                                                                            : (Names_{"中", "啊"}));
}

TEST_P(RegistryContract, TheListStaysTheSameWhileNothingChanges) {
  for (const char* name : {"K3", "K1", "K4", "K2"}) Make(std::string("List\\") + name);
  const Names_ first = Names("List");
  EXPECT_EQ(Names("List"), first);
  Make("List\\K25");
  EXPECT_EQ(Names("List"), (Names_{"K1", "K2", "K25", "K3", "K4"}));
}

// The length goes in as the buffer size and must leave room for the NUL; when it does not,
// neither the buffer nor the length changes.
TEST_P(RegistryContract, ABufferWithoutRoomForTheNulAsksForMore) {
  Make("ABCDEFGHIJ");
  char name[32];
  std::memset(name, '#', sizeof name);
  for (std::uint32_t size : {0u, 9u, 10u}) {
    std::uint32_t length = size;
    EXPECT_EQ(registry().EnumKey(scratch, 0, name, length), reg::kMoreData) << size;
    EXPECT_EQ(length, size);
    EXPECT_EQ(name[0], '#');
  }
  std::uint32_t length = 11;
  ASSERT_EQ(registry().EnumKey(scratch, 0, name, length), reg::kSuccess);
  EXPECT_EQ(length, 10u);
  EXPECT_STREQ(name, "ABCDEFGHIJ");
  length = sizeof name;
  EXPECT_EQ(registry().EnumKey(scratch, 1, name, length), reg::kNoMoreItems);
}

// 200 Chinese characters are 400 bytes in code page 936.
TEST_P(RegistryContract, ANameTooLongForA256ByteBufferIsPassedOverAndTheNextStillReads) {
  std::string longName;
  for (int i = 0; i < 200; ++i) longName += "名";
  Make(longName);
  Make("我");  // after 名 in every order
  Make(std::string(256, 'x'));
  char name[256];
  std::memset(name, '#', sizeof name);
  std::uint32_t length = sizeof name;
  EXPECT_EQ(registry().EnumKey(scratch, 0, name, length), reg::kMoreData) << "256 x";
  EXPECT_EQ(length, 256u);
  EXPECT_EQ(registry().EnumKey(scratch, 1, name, length), reg::kMoreData) << "200 名";
  EXPECT_EQ(name[0], '#');
  EXPECT_EQ(registry().EnumKey(scratch, 2, name, length), reg::kSuccess);
  EXPECT_EQ(std::string(name, length), "我");
  length = sizeof name;
  EXPECT_EQ(registry().EnumKey(scratch, 3, name, length), reg::kNoMoreItems);
}

TEST_P(RegistryContract, SubKeyCountCountsOnlyTheKeysDirectlyBelow) {
  Make("P\\A\\Deep");
  Make("P\\B");
  RegKey p;
  ASSERT_EQ(Open(scratch, "P", p), reg::kSuccess);
  std::uint32_t count = 99;
  ASSERT_EQ(registry().QuerySubKeyCount(p, count), reg::kSuccess);
  EXPECT_EQ(count, 2u);
  ASSERT_EQ(registry().DeleteKey(p, "B"), reg::kSuccess);
  ASSERT_EQ(registry().QuerySubKeyCount(p, count), reg::kSuccess);
  EXPECT_EQ(count, 1u);
  ASSERT_EQ(registry().QuerySubKeyCount(subject->ScratchRoot(), count), reg::kSuccess);
  EXPECT_GE(count, 1u) << "a root answers through its own name";
}

}  // namespace
}  // namespace contract
