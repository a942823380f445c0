#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

// Narrow text in the ANSI code page, handled character by character as the C runtime's
// multibyte functions do once the multibyte code page is set to the ANSI code page.
//
// The active code page is 936 (Simplified Chinese) until the program sets the machine's at
// start. Which bytes lead a double-byte character comes from a table of 256 entries: the
// program fills it from Windows itself; tests and the in-memory platform name a code page and
// get the table this file knows for it: 932 (Japanese: 0x81-0x9F, 0xE0-0xFC), 936, 949 and
// 950 (Simplified Chinese, Korean, Traditional Chinese: 0x81-0xFE). Any other code page has
// no lead bytes, UTF-8 (65001) among them: every byte of a character longer than one byte is
// 0x80 or above, so none is ever a backslash, and case changes touch ASCII alone there. One implementation serves
// every build, so native tests see exactly what the program does.
//
// A lead byte followed by any byte other than NUL is one character of two bytes; the second
// byte may be 0x5C (backslash) or 0x7C (vertical bar) and is then part of the character, never
// a separator. A lead byte at the very end of the text, or before a NUL, is a character of its
// own.
namespace ansi {

inline constexpr unsigned kCodePage936 = 936;

// leadBytes[b] is true when byte b leads a double-byte character.
using LeadByteTable = std::array<bool, 256>;

// The lead bytes this file knows for a code page; none for a code page it does not know.
LeadByteTable KnownLeadBytes(unsigned codePage);

// Sets the code page that the functions below follow (the program's _setmbcp), with the lead
// bytes of KnownLeadBytes.
void SetActiveCodePage(unsigned codePage);
// The same with the lead bytes as the system reports them.
void SetActiveCodePage(unsigned codePage, const LeadByteTable& leadBytes);
unsigned ActiveCodePage();

bool IsLeadByte(unsigned char byte);

// Bytes of the character that starts at `pos` (1 or 2); `pos` must be inside the text.
std::size_t CharLengthAt(std::string_view text, std::size_t pos);

// The UTF-16 units Windows makes of the text when a narrow function hands it on: one per
// character in the code pages with lead bytes (and the single-byte ones); in UTF-8 (65001,
// which has no lead bytes in the double-byte sense) one per sequence of up to three bytes and
// two per sequence of four. Windows' path and key-name limits count these.
std::size_t Utf16Length(std::string_view text);

// Single-byte a-z become A-Z. In code page 936 a double-byte character becomes its upper-case
// partner where the code page has one (full-width Latin, Greek, Cyrillic, Roman numerals,
// ...); in every other code page double-byte characters stay as they are. Every other
// character, Chinese characters among them, stays as it is.
std::string ToUpper(std::string_view text);
// The reverse mapping: A-Z and (in code page 936) the double-byte characters with a
// lower-case partner.
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
