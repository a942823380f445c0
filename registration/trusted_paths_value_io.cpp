#include "registration/trusted_paths_value_io.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "install/owned_places.h"
#include "platform/code_page.h"
#include "registration/trusted_paths_text.h"

namespace registration {
namespace {

namespace reg = platform::reg;

constexpr const char* kValueName = install::kTrustedPathsValueName;
// AutoCAD's own buffer for profile variables holds 13000 characters, 26000 bytes of UTF-16;
// most values fit at the first read.
constexpr std::uint32_t kFirstReadSize = 26000;
// Another program may lengthen the value between two reads; a few retries settle that.
constexpr int kReadAttempts = 4;

std::u16string TextOf(std::uint32_t type, std::string_view data) {
  if (reg::IsStringType(type)) {
    const std::u16string text = code_page::Utf16FromBytes(data);
    return text.substr(0, text.find(u'\0'));
  }
  return trusted_paths_text::FromCodePage(data.substr(0, data.find('\0')));
}

}  // namespace

TrustedPathsRead ReadTrustedPaths(platform::Registry& registry, const std::string& variablesKey,
                                  std::u16string& value) {
  value.clear();
  platform::RegKey key;
  if (registry.OpenKey(platform::RegRoot::CurrentUser, variablesKey.c_str(), key) !=
      reg::kSuccess) {
    return TrustedPathsRead::Absent;
  }
  std::uint32_t bufferSize = kFirstReadSize;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    std::vector<unsigned char> buffer(bufferSize, 0);
    std::uint32_t size = bufferSize;
    std::uint32_t type = reg::kTypeNone;
    const long result = registry.QueryValueWide(key, kValueName, &type, buffer.data(), &size);
    if (result == reg::kSuccess) {
      const std::size_t stored = size < bufferSize ? size : bufferSize;
      value = TextOf(type, std::string_view(reinterpret_cast<const char*>(buffer.data()), stored));
      return TrustedPathsRead::Read;
    }
    if (result == reg::kFileNotFound) {
      return TrustedPathsRead::Absent;
    }
    if (result != reg::kMoreData || size <= bufferSize) {
      return TrustedPathsRead::Unreadable;
    }
    bufferSize = size;
  }
  return TrustedPathsRead::Unreadable;
}

bool WriteTrustedPaths(platform::Registry& registry, platform::KeyRef key,
                       std::u16string_view value) {
  std::u16string withNul(value);
  withNul += u'\0';
  const std::string bytes = code_page::Utf16Bytes(withNul);
  return registry.SetValueWide(key, kValueName, reg::kTypeSz,
                               reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<std::uint32_t>(bytes.size())) == reg::kSuccess;
}

bool DeleteTrustedPaths(platform::Registry& registry, platform::KeyRef key) {
  const long result = registry.DeleteValue(key, kValueName);
  return result == reg::kSuccess || result == reg::kFileNotFound;
}

}  // namespace registration
