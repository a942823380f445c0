#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry.h"

namespace contract {

// Result codes the registry answers beside those of platform::reg.
inline constexpr long kInvalidHandle = 6;  // ERROR_INVALID_HANDLE
inline constexpr long kBadPathname = 161;  // ERROR_BAD_PATHNAME
inline constexpr long kNoAccess = 998;     // ERROR_NOACCESS
inline constexpr long kKeyDeleted = 1018;  // ERROR_KEY_DELETED

inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kMaximumAllowed = 0x02000000;
inline constexpr std::uint32_t kGenericRead = 0x80000000;

// Where a registry is known to behave otherwise than the registry of Windows.
struct RegistryDifferences {
  // Wine orders sub-keys by the lower-case form of their names, so "_" (between "Z" and
  // "a") comes before the letters; Windows compares the upper-case forms.
  bool ordersByLowerCase = false;
  // Wine's RegQueryInfoKeyA asks no access of the handle; Windows asks KEY_QUERY_VALUE.
  bool subKeyCountNeedsNoAccess = false;
  // The in-memory registry orders double-byte names by their code page 936 bytes; Windows
  // and Wine order them by UTF-16 ("中" U+4E2D before "啊" U+554A, though B0A1 < D6D0).
  bool ordersDoubleByteNamesByCodePage = false;
};

// One registry as the contract cases see it.
class RegistrySubject {
 public:
  virtual ~RegistrySubject() = default;

  virtual platform::Registry& Registry() = 0;
  // A key below which each case works alone; the subject removes it after the case.
  virtual platform::RegRoot ScratchRoot() const = 0;
  virtual const std::string& ScratchPath() const = 0;
  virtual RegistryDifferences Differences() const = 0;
  // Gives the key at `path` below the scratch key security that refuses setting values to
  // everyone, as HKEY_LOCAL_MACHINE refuses a user without administrator rights; false when
  // the subject cannot.
  virtual bool DenySettingValues(const std::string& path) = 0;
};

struct RegistrySubjectMaker {
  const char* name;
  std::unique_ptr<RegistrySubject> (*make)();
};

inline void PrintTo(const RegistrySubjectMaker& maker, std::ostream* out) { *out << maker.name; }

inline std::string RegistrySubjectName(const ::testing::TestParamInfo<RegistrySubjectMaker>& info) {
  return info.param.name;
}

// What a value query answered.
struct ValueRead {
  long result = -1;
  std::uint32_t type = 0;
  std::uint32_t size = 0;
  std::string data;
};

// The fixture of the registry contract: a fresh subject per case, with its scratch key open.
class RegistryContract : public ::testing::TestWithParam<RegistrySubjectMaker> {
 protected:
  void SetUp() override {
    subject = GetParam().make();
    ASSERT_NE(subject, nullptr);
    ASSERT_EQ(registry().CreateKey(subject->ScratchRoot(), subject->ScratchPath().c_str(), scratch),
              platform::reg::kSuccess);
  }

  platform::Registry& registry() { return subject->Registry(); }
  RegistryDifferences Differences() const { return subject->Differences(); }

  // Creates `path` below the scratch key.
  void Make(const std::string& path) {
    platform::RegKey key;
    ASSERT_EQ(registry().CreateKey(scratch, path.c_str(), key), platform::reg::kSuccess) << path;
  }

  long Open(platform::KeyRef parent, const std::string& path, platform::RegKey& key,
            std::uint32_t access = platform::reg::kKeyRead) {
    return registry().OpenKeyEx(parent, path.c_str(), access, key);
  }

  void Put(platform::KeyRef key, const char* name, std::uint32_t type, std::string_view bytes) {
    EXPECT_EQ(registry().SetValue(key, name, type,
                                  reinterpret_cast<const unsigned char*>(bytes.data()),
                                  static_cast<std::uint32_t>(bytes.size())),
              platform::reg::kSuccess)
        << (name != nullptr ? name : "(default)");
  }

  // Queries into a buffer of `bufferSize` bytes; `data` holds what the answer says is there.
  ValueRead Read(platform::KeyRef key, const char* name, std::uint32_t bufferSize = 1024) {
    std::vector<unsigned char> buffer(bufferSize);
    ValueRead read;
    read.size = bufferSize;
    read.result = registry().QueryValue(key, name, &read.type, buffer.data(), &read.size);
    if (read.result == platform::reg::kSuccess) {
      read.data.assign(reinterpret_cast<const char*>(buffer.data()), read.size);
    }
    return read;
  }

  // The sub-key names in enumeration order, read with a buffer that fits any name.
  std::vector<std::string> Names(platform::KeyRef key) {
    std::vector<std::string> names;
    for (std::uint32_t index = 0;; ++index) {
      char name[1024];
      std::uint32_t length = sizeof name;
      const long result = registry().EnumKey(key, index, name, length);
      if (result == platform::reg::kNoMoreItems) break;
      if (result != platform::reg::kSuccess) {
        ADD_FAILURE() << "EnumKey " << index << " answered " << result;
        break;
      }
      names.emplace_back(name, length);
    }
    return names;
  }

  std::vector<std::string> Names(const std::string& path) {
    platform::RegKey key;
    EXPECT_EQ(Open(scratch, path, key), platform::reg::kSuccess) << path;
    return key.IsOpen() ? Names(key) : std::vector<std::string>{};
  }

  std::unique_ptr<RegistrySubject> subject;
  platform::RegKey scratch;  // closed before the subject goes
};

}  // namespace contract
