#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace e2e {

// Joins the pieces of a message. (Chains of "literal" + std::string make g++ 12 warn wrongly
// about overlapping copies, -Wrestrict, which the build treats as an error.)
inline std::string Cat(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces) {
    text.append(piece);
  }
  return text;
}

inline std::string Quoted(std::string_view text) { return Cat({"\"", text, "\""}); }

inline std::string Number(long long value) { return std::to_string(value); }

}  // namespace e2e
