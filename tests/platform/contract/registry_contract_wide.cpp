// String values are kept as UTF-16: the narrow functions convert through the ANSI code page
// (936 in both subjects here), the wide ones hand the stored bytes over.

#include <cstring>
#include <string>

#include "platform/code_page.h"
#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

namespace reg = platform::reg;
using code_page::Utf16Bytes;

TEST_P(RegistryContract, AWideStringReadsBackNarrowWithAQuestionMarkForEachUnitTheCodePageLacks) {
  const std::u16string text = u"D:\\한국;E:\\かな;F:\\\U0001F600;G:\\批打印";
  const std::string stored = Utf16Bytes(text + u'\0');
  ASSERT_EQ(registry().SetValueWide(scratch, "Paths", reg::kTypeSz,
                                    reinterpret_cast<const unsigned char*>(stored.data()),
                                    static_cast<std::uint32_t>(stored.size())),
            reg::kSuccess);
  const std::string narrow = std::string("D:\\??;E:\\かな;F:\\??;G:\\批打印") + '\0';
  EXPECT_EQ(Read(scratch, "Paths").data, narrow);
  std::uint32_t size = 0;
  EXPECT_EQ(registry().QueryValue(scratch, "Paths", nullptr, nullptr, &size), reg::kSuccess);
  EXPECT_EQ(size, narrow.size()) << "the size of the narrow form";
  const ValueRead tooSmall = Read(scratch, "Paths", static_cast<std::uint32_t>(narrow.size() - 1));
  EXPECT_EQ(tooSmall.result, reg::kMoreData);
  EXPECT_EQ(tooSmall.size, narrow.size());

  std::string wide(stored.size() + 8, '\x55');
  std::uint32_t type = 0;
  size = static_cast<std::uint32_t>(wide.size());
  ASSERT_EQ(registry().QueryValueWide(scratch, "Paths", &type,
                                      reinterpret_cast<unsigned char*>(wide.data()), &size),
            reg::kSuccess);
  EXPECT_EQ(type, reg::kTypeSz);
  EXPECT_EQ(wide.substr(0, size), stored) << "every character survives";
}

TEST_P(RegistryContract, NarrowStringsAreStoredAsUtf16AndOtherTypesAsTheirBytes) {
  Put(scratch, "Text", reg::kTypeSz, std::string("C:\\乗亅批") + '\0');
  Put(scratch, "Multi", reg::kTypeMultiSz, std::string("a\0批\0\0", 6));
  Put(scratch, "Binary", reg::kTypeBinary, std::string("\x81\x5C\x00\x41", 4));
  const struct {
    const char* name;
    std::string stored;
  } cases[] = {
      {"Text", Utf16Bytes(std::u16string(u"C:\\乗亅批\0", 7))},
      {"Multi", Utf16Bytes(std::u16string(u"a\0批\0\0", 5))},
      {"Binary", std::string("\x81\x5C\x00\x41", 4)},
  };
  for (const auto& c : cases) {
    std::uint32_t size = 0;
    ASSERT_EQ(registry().QueryValueWide(scratch, c.name, nullptr, nullptr, &size), reg::kSuccess);
    EXPECT_EQ(size, c.stored.size()) << c.name;
    std::string data(size, '\0');
    ASSERT_EQ(registry().QueryValueWide(scratch, c.name, nullptr,
                                        reinterpret_cast<unsigned char*>(data.data()), &size),
              reg::kSuccess);
    EXPECT_EQ(data, c.stored) << c.name;
  }
}

// As the narrow query does, the wide one gives a string stored without its NUL one (of two
// bytes) where the buffer has room for it. (The text is given as "abcX" counted as three
// characters: Windows and Wine look at the character after the counted ones and store a NUL
// found there too, which the in-memory registry does not copy, as it must not read past what
// it was given.)
TEST_P(RegistryContract, AWideStringWithoutItsNulGetsOneWhereTheBufferHasRoom) {
  const std::string stored = Utf16Bytes(u"abcX");
  ASSERT_EQ(registry().SetValueWide(scratch, "Short", reg::kTypeSz,
                                    reinterpret_cast<const unsigned char*>(stored.data()), 6),
            reg::kSuccess);
  for (const std::uint32_t bufferSize : {16u, 7u, 6u}) {
    unsigned char buffer[16];
    std::memset(buffer, 0xEE, sizeof buffer);
    std::uint32_t size = bufferSize;
    ASSERT_EQ(registry().QueryValueWide(scratch, "Short", nullptr, buffer, &size), reg::kSuccess);
    EXPECT_EQ(size, 6u);
    const bool room = bufferSize >= 8;
    EXPECT_EQ(buffer[6], room ? 0x00 : 0xEE) << "buffer " << bufferSize;
    EXPECT_EQ(buffer[7], room ? 0x00 : 0xEE) << "buffer " << bufferSize;
  }
  std::uint32_t size = 5;
  unsigned char buffer[8];
  EXPECT_EQ(registry().QueryValueWide(scratch, "Short", nullptr, buffer, &size), reg::kMoreData);
  EXPECT_EQ(size, 6u);
}

}  // namespace
}  // namespace contract
