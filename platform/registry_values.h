#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry.h"

// Values written and read the way every part of the setup writes and reads them: narrow texts
// in the ANSI code page, numbers as REG_DWORD.
namespace platform {

// A REG_SZ holding `text` and its NUL. False when the registry refused it.
bool SetTextValue(Registry& registry, KeyRef key, const char* name, std::string_view text);

// A REG_DWORD, little-endian whatever the machine that forms it.
bool SetNumberValue(Registry& registry, KeyRef key, const char* name, std::uint32_t number);

// A value that holds a path: its text up to the first NUL, and its type (any; the caller says
// which it takes). False when the value is missing or longer than the 260 bytes of a path,
// which names nothing the setup could have written.
bool ReadPathValue(Registry& registry, KeyRef key, const char* name, std::string& text,
                   std::uint32_t& type);

}  // namespace platform
