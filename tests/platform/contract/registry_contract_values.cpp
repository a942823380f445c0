// Values: types and bytes as written, names, buffers too small and absent.

#include <cstring>
#include <string>
#include <vector>

#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

using platform::RegKey;
namespace reg = platform::reg;

std::string Bytes(int count) {
  std::string bytes;
  for (int i = 0; i < count; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

TEST_P(RegistryContract, ValuesComeBackWithTheTypeAndBytesTheyWereWrittenWith) {
  const struct {
    const char* name;
    std::uint32_t type;
    std::string data;
  } values[] = {
      {"Dword", reg::kTypeDword, std::string("\x78\x56\x34\x12", 4)},
      {"Expand", reg::kTypeExpandSz, std::string("%SystemRoot%\\批打印") + '\0'},
      {"Binary", reg::kTypeBinary, std::string("\x00\x01\xFF\x5C\x00", 5)},
      {"AnyType", 0x12345, "zz"},
      // Code page 936 text, trail bytes 5C and 7C among it, round-trips byte for byte.
      {"Text", reg::kTypeSz, std::string("C:\\程序\\乗亅软件") + '\0'},
  };
  for (const auto& value : values) Put(scratch, value.name, value.type, value.data);
  for (const auto& value : values) {
    const ValueRead read = Read(scratch, value.name);
    ASSERT_EQ(read.result, reg::kSuccess) << value.name;
    EXPECT_EQ(read.type, value.type) << value.name;
    EXPECT_EQ(read.data, value.data) << value.name;
  }
}

TEST_P(RegistryContract, AValueOfAnotherTypeIsReplacedWhateverTheCaseOfItsName) {
  Put(scratch, "Mode", reg::kTypeDword, std::string("\x01\x00\x00\x00", 4));
  Put(scratch, "MODE", reg::kTypeSz, std::string("text", 5));
  const ValueRead read = Read(scratch, "mode");
  EXPECT_EQ(read.type, reg::kTypeSz);
  EXPECT_EQ(read.data, std::string("text", 5));
}

TEST_P(RegistryContract, TheDefaultValueHasANullOrAnEmptyName) {
  Put(scratch, nullptr, reg::kTypeSz, std::string("first", 6));
  EXPECT_EQ(Read(scratch, "").data, std::string("first", 6));
  Put(scratch, "", reg::kTypeSz, std::string("second", 7));
  EXPECT_EQ(Read(scratch, nullptr).data, std::string("second", 7));
}

TEST_P(RegistryContract, DataLargerThanTheBufferAsksForMoreAndTellsTheSizeNeeded) {
  Put(scratch, "Binary", reg::kTypeBinary, Bytes(300));
  Put(scratch, "Text", reg::kTypeSz, std::string(300, 'T') + '\0');
  Put(scratch, "Exact", reg::kTypeBinary, Bytes(256));
  const struct {
    const char* name;
    std::uint32_t type;
    std::uint32_t size;
  } cases[] = {{"Binary", reg::kTypeBinary, 300}, {"Text", reg::kTypeSz, 301}};
  for (const auto& c : cases) {
    unsigned char buffer[256];
    std::memset(buffer, 0xEE, sizeof buffer);
    std::uint32_t type = 0;
    std::uint32_t size = sizeof buffer;
    EXPECT_EQ(registry().QueryValue(scratch, c.name, &type, buffer, &size), reg::kMoreData);
    EXPECT_EQ(size, c.size) << c.name;
    EXPECT_EQ(type, c.type) << c.name;
    EXPECT_EQ(buffer[0], 0xEE) << c.name << ": nothing written";
  }
  const ValueRead exact = Read(scratch, "Exact", 256);
  EXPECT_EQ(exact.result, reg::kSuccess) << "256 bytes fit 256";
  EXPECT_EQ(exact.data, Bytes(256));
}

TEST_P(RegistryContract, WithoutDataTheQueryAnswersTypeAndSize) {
  Put(scratch, "Binary", reg::kTypeBinary, Bytes(300));
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  EXPECT_EQ(registry().QueryValue(scratch, "Binary", &type, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, 300u);
  EXPECT_EQ(type, reg::kTypeBinary);
  EXPECT_EQ(registry().QueryValue(scratch, "Binary", nullptr, nullptr, nullptr), reg::kSuccess);
  unsigned char buffer[8];
  EXPECT_EQ(registry().QueryValue(scratch, "Binary", &type, buffer, nullptr),
            reg::kInvalidParameter);
}

// After a failed query the type reads "none"; a size asked for alone reads 0.
TEST_P(RegistryContract, AMissingValueIsNotFoundAndHasNoType) {
  unsigned char buffer[16];
  std::uint32_t type = 99;
  std::uint32_t size = sizeof buffer;
  EXPECT_EQ(registry().QueryValue(scratch, "Missing", &type, buffer, &size), reg::kFileNotFound);
  EXPECT_EQ(type, reg::kTypeNone);
  EXPECT_EQ(size, sizeof buffer) << "a buffer's size is left as it was";
  size = 77;
  EXPECT_EQ(registry().QueryValue(scratch, "Missing", nullptr, nullptr, &size), reg::kFileNotFound);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(Read(scratch, nullptr).result, reg::kFileNotFound) << "no default value yet";
}

// As Windows does, a string stored without its NUL is given one where the buffer has room.
TEST_P(RegistryContract, AStringWithoutItsNulGetsOneWhereTheBufferHasRoom) {
  const std::string text = "abcX";  // stored as its first three bytes only
  for (const std::uint32_t type : {reg::kTypeSz, reg::kTypeExpandSz, reg::kTypeBinary}) {
    ASSERT_EQ(registry().SetValue(scratch, "Short", type,
                                  reinterpret_cast<const unsigned char*>(text.data()), 3),
              reg::kSuccess);
    for (const std::uint32_t bufferSize : {8u, 3u}) {
      unsigned char buffer[8];
      std::memset(buffer, 0xEE, sizeof buffer);
      std::uint32_t size = bufferSize;
      ASSERT_EQ(registry().QueryValue(scratch, "Short", nullptr, buffer, &size), reg::kSuccess);
      EXPECT_EQ(size, 3u);
      const bool room = bufferSize > 3 && type != reg::kTypeBinary;
      EXPECT_EQ(buffer[3], room ? 0x00 : 0xEE) << "type " << type << ", buffer " << bufferSize;
    }
  }
}

TEST_P(RegistryContract, ValueDataMayBeEmptyButNotMissing) {
  ASSERT_EQ(registry().SetValue(scratch, "Empty", reg::kTypeSz, nullptr, 0), reg::kSuccess);
  const ValueRead read = Read(scratch, "Empty");
  EXPECT_EQ(read.result, reg::kSuccess);
  EXPECT_EQ(read.type, reg::kTypeSz);
  EXPECT_EQ(read.size, 0u);
  EXPECT_EQ(registry().SetValue(scratch, "Lost", reg::kTypeBinary, nullptr, 4), kNoAccess);
  EXPECT_EQ(Read(scratch, "Lost").result, reg::kFileNotFound);
}

TEST_P(RegistryContract, DeletingAValueTakesThatValueOnlyAndNeedsTheRightToSetValues) {
  Make("Locked");
  Put(scratch, nullptr, reg::kTypeSz, std::string("default", 8));
  Put(scratch, "Gone", reg::kTypeSz, std::string("x", 2));
  Put(scratch, "Kept", reg::kTypeDword, std::string(4, '\x01'));

  EXPECT_EQ(registry().DeleteValue(scratch, "GONE"), reg::kSuccess) << "names ignore case";
  EXPECT_EQ(Read(scratch, "Gone").result, reg::kFileNotFound);
  EXPECT_EQ(Read(scratch, "Kept").data, std::string(4, '\x01'));
  EXPECT_EQ(Read(scratch, nullptr).data, std::string("default", 8));
  EXPECT_EQ(registry().DeleteValue(scratch, "Gone"), reg::kFileNotFound);
  EXPECT_EQ(Names(scratch), std::vector<std::string>{"Locked"}) << "the key is untouched";

  RegKey readOnly;
  ASSERT_EQ(Open(scratch, "", readOnly, reg::kKeyRead), reg::kSuccess);
  EXPECT_EQ(registry().DeleteValue(readOnly, "Kept"), reg::kAccessDenied);
  // A key whose security refuses setting values, opened with whatever access it grants.
  RegKey locked;
  ASSERT_EQ(Open(scratch, "Locked", locked, reg::kKeyAllAccess), reg::kSuccess);
  Put(locked, "V", reg::kTypeSz, std::string("v", 2));
  ASSERT_TRUE(subject->DenySettingValues("Locked"));
  ASSERT_EQ(registry().OpenKey(scratch, "Locked", locked), reg::kSuccess);
  EXPECT_EQ(registry().DeleteValue(locked, "V"), reg::kAccessDenied);
  EXPECT_EQ(Read(scratch, "Kept").result, reg::kSuccess);
  EXPECT_EQ(Read(locked, "V").data, std::string("v", 2));
}

}  // namespace
}  // namespace contract
