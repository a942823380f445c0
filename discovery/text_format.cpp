#include "discovery/text_format.h"

#include <cstdarg>
#include <cstdio>

namespace discovery {
namespace {

// vsnprintf never writes past `size` bytes. Depending on the C runtime it answers a text that
// does not fit with the length it needed or with -1; both count as not fitting.
int FormatIntoBuffer(char* destination, std::size_t size, const char* format, std::va_list args) {
  const int written = std::vsnprintf(destination, size, format, args);
  if (written < 0 || static_cast<std::size_t>(written) >= size) {
    destination[0] = '\0';
    return kTextDidNotFit;
  }
  return written;
}

}  // namespace

int FormatPath(char (&destination)[kPathBufferSize], const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int written = FormatIntoBuffer(destination, kPathBufferSize, format, args);
  va_end(args);
  return written;
}

int FormatLongText(char (&destination)[kLongTextBufferSize], const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  const int written = FormatIntoBuffer(destination, kLongTextBufferSize, format, args);
  va_end(args);
  return written;
}

std::string FormatText(const char* format, ...) {
  std::va_list args;
  va_start(args, format);
  std::va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  std::string text;
  if (length > 0) {
    text.resize(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<std::size_t>(length));
  }
  va_end(args);
  return text;
}

}  // namespace discovery
