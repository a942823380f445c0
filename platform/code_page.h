#pragma once

#include <string>
#include <string_view>

// Conversion between text in a Windows code page and UTF-16, with the results Windows gives:
// MultiByteToWideChar(codePage, 0, ...) and WideCharToMultiByte(codePage, 0, ..., "?").
// The code page is always named, never taken from the system, so one program can convert
// as a machine with another ANSI code page would (the in-memory registry does so).
//
// What the program relies on, and the contract tests hold both implementations to:
// text the code page carries converts both ways unchanged; every UTF-16 unit the code page
// cannot carry becomes one '?', so a character outside the Basic Multilingual Plane (an
// emoji, a surrogate pair) becomes "??". Windows' best-fit replacements (such as 'A' for
// U+0100 in code page 1252) are not reproduced by the native build, which gives '?' there;
// nothing of the program depends on them, since it checks that a character converts back to
// itself before it treats it as one of the code page.
namespace code_page {

inline constexpr unsigned kChineseSimplified = 936;
inline constexpr unsigned kWesternEurope = 1252;
// Windows set to use UTF-8 for every language has this ANSI code page.
inline constexpr unsigned kUtf8 = 65001;

std::u16string ToUtf16(unsigned codePage, std::string_view text);
std::string FromUtf16(unsigned codePage, std::u16string_view text);

// UTF-16 text as the registry stores it (little-endian bytes) and back; an odd last byte
// is no character and is dropped.
std::string Utf16Bytes(std::u16string_view text);
std::u16string Utf16FromBytes(std::string_view bytes);

}  // namespace code_page
