#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Narrow text in the ANSI code page, handled character by character as the C runtime's
// multibyte functions do once the multibyte code page is set to the ANSI code page.
//
// The active code page is 936 (Simplified Chinese, double-byte) unless the program sets
// another at start from the system's ANSI code page; any other code page is handled as a
// single-byte one (no lead bytes, only a-z have case partners). One implementation serves
// every build, so native tests see exactly what the program does.
//
// In code page 936 a lead byte (0x81-0xFE) followed by any byte other than NUL is one
// character of two bytes; the second byte may be 0x5C (backslash) or 0x7C (vertical bar)
// and is then part of the character, never a separator. A lead byte at the very end of the
// text is a character of its own.
namespace ansi {

inline constexpr unsigned kCodePage936 = 936;

// Sets the code page that the functions below follow (the program's _setmbcp).
void SetActiveCodePage(unsigned codePage);
unsigned ActiveCodePage();

bool IsLeadByte(unsigned char byte);

// Bytes of the character that starts at `pos` (1 or 2); `pos` must be inside the text.
std::size_t CharLengthAt(std::string_view text, std::size_t pos);

// Single-byte a-z become A-Z, and a double-byte character becomes its upper-case partner
// where the code page has one (full-width Latin, Greek, Cyrillic, Roman numerals, ...).
// Every other character, Chinese characters among them, stays as it is.
std::string ToUpper(std::string_view text);
// The reverse mapping: A-Z and the double-byte characters with a lower-case partner.
std::string ToLower(std::string_view text);

// Position of the first occurrence of `needle` that begins on a character boundary of
// `haystack`, or npos. An empty needle is found at 0.
std::size_t FindText(std::string_view haystack, std::string_view needle);

// Position of the last backslash that is a character of its own, or npos.
std::size_t FindLastBackslash(std::string_view text);

// True when the text's last character is a backslash of its own.
bool EndsWithBackslash(std::string_view text);

// The text without its last character when that is a backslash of its own ("C:\Zelvar\"
// becomes "C:\Zelvar"); one backslash at most goes, and a backslash that is the second byte of
// a double-byte character stays, so a folder name ending in such a character keeps it whole.
std::string StripTrailingBackslash(std::string_view text);

// Compares two names without regard to case (both upper-cased as above), as the registry
// and the file system compare names: <0, 0 or >0.
int CompareNoCase(std::string_view a, std::string_view b);
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace ansi
