#pragma once

#include <cstddef>
#include <string>

#if defined(__GNUC__)
#define SETUP_PRINTF_FORMAT(formatIndex, firstArg) \
  __attribute__((format(printf, formatIndex, firstArg)))
#else
#define SETUP_PRINTF_FORMAT(formatIndex, firstArg)
#endif

namespace discovery {

// The platform's path length limit: a path buffer of 260 bytes holds 259 characters.
inline constexpr std::size_t kPathBufferSize = 260;
// The buffer that AutoCAD profile variables are formed in.
inline constexpr std::size_t kLongTextBufferSize = 13000;

// Returned by the fixed-buffer formatters when the text and its NUL do not fit the buffer.
inline constexpr int kTextDidNotFit = -1;

// printf-style formatting into a caller's fixed buffer. Returns the number of characters
// written, or kTextDidNotFit when the text and its NUL would not fit: the buffer then holds
// the empty text, so a caller that passes over the item never acts on a cut path. Nothing is
// ever written past the buffer.
int FormatPath(char (&destination)[kPathBufferSize], const char* format, ...)
    SETUP_PRINTF_FORMAT(2, 3);
int FormatLongText(char (&destination)[kLongTextBufferSize], const char* format, ...)
    SETUP_PRINTF_FORMAT(2, 3);

// printf-style formatting into a string of any length, for texts that no fixed buffer limits
// (registry key paths).
std::string FormatText(const char* format, ...) SETUP_PRINTF_FORMAT(1, 2);

}  // namespace discovery
