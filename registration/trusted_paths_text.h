#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// TRUSTEDPATHS is kept by Windows as UTF-16 and may hold folders of any script. These
// helpers apply the program's code-page rules to such text without losing what the code page
// cannot carry. The code page is the active one (ansi::ActiveCodePage()).
namespace registration::trusted_paths_text {

// Every character the code page carries is upper-cased as ansi::ToUpper upper-cases its
// code-page form; every other character (Korean on a Chinese system, Chinese on a Western
// one, an emoji) stays exactly as it is.
std::u16string ToUpper(std::u16string_view text);

// Position of the first occurrence of `needle` that begins on a whole character of
// `haystack` (never between the two halves of a surrogate pair), or npos.
std::size_t Find(std::u16string_view haystack, std::u16string_view needle);

// The text's length in bytes as the narrow registry functions would hand it over: its
// code-page form, with one '?' for each unit the code page lacks.
std::size_t CodePageLength(std::u16string_view text);

// Narrow text of the active code page as UTF-16.
std::u16string FromCodePage(std::string_view text);

}  // namespace registration::trusted_paths_text
