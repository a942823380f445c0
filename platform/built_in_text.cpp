#include "platform/built_in_text.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "platform/ansi_text.h"
#include "platform/code_page.h"

namespace ansi {

const char* BuiltIn(const char* text) {
  const unsigned codePage = ActiveCodePage();
  if (text == nullptr || codePage == kCodePage936) return text;
  // Keyed by the bytes, not the pointer, so a text that is not a literal can never be
  // answered with another's conversion. Map nodes never move, so their texts stay put.
  static std::mutex guard;
  static std::map<std::pair<unsigned, std::string>, std::string> converted;
  const std::lock_guard lock(guard);
  auto key = std::make_pair(codePage, std::string(text));
  const auto found = converted.find(key);
  if (found != converted.end()) return found->second.c_str();
  const std::u16string characters = code_page::ToUtf16(kCodePage936, text);
  std::string inCodePage = code_page::FromUtf16(codePage, characters);
  if (code_page::ToUtf16(codePage, inCodePage) != characters) inCodePage = key.second;
  return converted.emplace(std::move(key), std::move(inCodePage)).first->second.c_str();
}

}  // namespace ansi
