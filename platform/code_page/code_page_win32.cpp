// The conversions of the Windows builds: Windows' own functions.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/code_page.h"

namespace code_page {

std::u16string ToUtf16(unsigned codePage, std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), length, wide.data(), units);
  return std::u16string(wide.begin(), wide.end());
}

std::string FromUtf16(unsigned codePage, std::u16string_view text) {
  if (text.empty()) return {};
  const std::wstring wide(text.begin(), text.end());
  const int length = static_cast<int>(wide.size());
  // UTF-8 and UTF-7 take no default character.
  const bool takesDefault = codePage != CP_UTF8 && codePage != CP_UTF7;
  const char* defaultChar = takesDefault ? "?" : nullptr;
  const int bytes =
      WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, defaultChar, nullptr);
  if (bytes <= 0) return {};
  std::string narrow(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), length, narrow.data(), bytes, defaultChar,
                      nullptr);
  return narrow;
}

}  // namespace code_page
