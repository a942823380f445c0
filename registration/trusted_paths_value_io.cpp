#include "registration/trusted_paths_value_io.h"

#include <cstring>
#include <vector>

namespace registration {
namespace {

namespace reg = platform::reg;

constexpr const char* kValueName = "TRUSTEDPATHS";
// AutoCAD's own buffer for profile variables; most values fit it at the first read.
constexpr std::uint32_t kFirstReadSize = 13000;
// Another program may lengthen the value between two reads; a few retries settle that.
constexpr int kReadAttempts = 4;

}  // namespace

TrustedPathsRead ReadTrustedPaths(platform::Registry& registry, const std::string& variablesKey,
                                  std::string& value) {
  value.clear();
  platform::RegKey key;
  if (registry.OpenKey(platform::RegRoot::CurrentUser, variablesKey.c_str(), key) !=
      reg::kSuccess) {
    return TrustedPathsRead::Absent;
  }
  std::uint32_t bufferSize = kFirstReadSize;
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    // One byte more than offered, always zero, so data stored without a NUL still ends.
    std::vector<unsigned char> buffer(static_cast<std::size_t>(bufferSize) + 1, 0);
    std::uint32_t size = bufferSize;
    const long result = registry.QueryValue(key, kValueName, nullptr, buffer.data(), &size);
    if (result == reg::kSuccess) {
      const std::size_t stored = size < bufferSize ? size : bufferSize;
      const void* nul = std::memchr(buffer.data(), '\0', stored);
      const std::size_t length =
          nul != nullptr ? static_cast<std::size_t>(static_cast<const unsigned char*>(nul) -
                                                    buffer.data())
                         : stored;
      value.assign(reinterpret_cast<const char*>(buffer.data()), length);
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
                       const std::string& value) {
  return registry.SetValue(key, kValueName, reg::kTypeSz,
                           reinterpret_cast<const unsigned char*>(value.c_str()),
                           static_cast<std::uint32_t>(value.size() + 1)) == reg::kSuccess;
}

}  // namespace registration
