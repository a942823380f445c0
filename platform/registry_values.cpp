#include "platform/registry_values.h"

#include <array>

#include "platform/file_system.h"

namespace platform {

bool SetTextValue(Registry& registry, KeyRef key, const char* name, std::string_view text) {
  const std::string withNul(text);
  return registry.SetValue(key, name, reg::kTypeSz,
                           reinterpret_cast<const unsigned char*>(withNul.c_str()),
                           static_cast<std::uint32_t>(withNul.size() + 1)) == reg::kSuccess;
}

bool SetNumberValue(Registry& registry, KeyRef key, const char* name, std::uint32_t number) {
  const std::array<unsigned char, 4> data{
      static_cast<unsigned char>(number & 0xFF), static_cast<unsigned char>((number >> 8) & 0xFF),
      static_cast<unsigned char>((number >> 16) & 0xFF),
      static_cast<unsigned char>((number >> 24) & 0xFF)};
  return registry.SetValue(key, name, reg::kTypeDword, data.data(),
                           static_cast<std::uint32_t>(data.size())) == reg::kSuccess;
}

bool ReadPathValue(Registry& registry, KeyRef key, const char* name, std::string& text,
                   std::uint32_t& type) {
  // One byte more than is offered, zeroed, so the text always ends.
  std::array<char, kMaxPath + 1> data{};
  std::uint32_t size = kMaxPath;
  type = reg::kTypeNone;
  if (registry.QueryValue(key, name, &type, reinterpret_cast<unsigned char*>(data.data()),
                          &size) != reg::kSuccess) {
    return false;
  }
  text = data.data();
  return true;
}

}  // namespace platform
