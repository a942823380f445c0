#pragma once

// What every fuzz target shares: a property check that stops the run with a message (libFuzzer
// then saves the input that broke it), and a reader that takes a fuzz input apart.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/ansi_text.h"

namespace fuzz {

[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: property failed: %s\n", file, line, what);
  std::abort();
}

}  // namespace fuzz

// A property of the code under test; a failure is as much a finding as a crash.
#define FUZZ_CHECK(condition)                                          \
  do {                                                                 \
    if (!(condition)) ::fuzz::Fail(__FILE__, __LINE__, #condition);    \
  } while (false)

namespace fuzz {

// Hands out the bytes of an input front to back; past the end it answers zeros and empty
// texts, so every input, however short, describes a complete case.
class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size)
      : text_(reinterpret_cast<const char*>(data), size) {}

  bool AtEnd() const { return pos_ >= text_.size(); }

  std::uint8_t Byte() {
    return AtEnd() ? 0 : static_cast<std::uint8_t>(text_[pos_++]);
  }

  // Up to `count` bytes, fewer at the end.
  std::string_view Take(std::size_t count) {
    const std::size_t available = text_.size() - pos_;
    const std::string_view taken = text_.substr(pos_, count < available ? count : available);
    pos_ += taken.size();
    return taken;
  }

  std::string_view Rest() { return Take(text_.size() - pos_); }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The active code page for one input, put back afterwards, so that a run can mix inputs in
// the double-byte code pages and in a single-byte code page.
class CodePageScope {
 public:
  explicit CodePageScope(unsigned codePage) : saved_(ansi::ActiveCodePage()) {
    ansi::SetActiveCodePage(codePage);
  }
  ~CodePageScope() { ansi::SetActiveCodePage(saved_); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  unsigned saved_;
};

// Bits 0, 6 and 7 of a selector byte pick the code page: bit 0 set is 1252; clear, bits 6-7
// pick 936, 950, 932 or 949 (no target uses those bits for anything else).
inline unsigned CodePageFrom(std::uint8_t selector) {
  constexpr unsigned kDoubleByte[] = {ansi::kCodePage936, 950, 932, 949};
  return (selector & 1) != 0 ? 1252u : kDoubleByte[selector >> 6];
}

// Whether `pos` is where a character of `text` starts, walking from the front as the text
// helpers must.
inline bool IsCharBoundary(std::string_view text, std::size_t pos) {
  std::size_t at = 0;
  while (at < pos && at < text.size()) at += ansi::CharLengthAt(text, at);
  return at == pos;
}

}  // namespace fuzz
