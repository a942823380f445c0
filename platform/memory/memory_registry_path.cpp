#include "platform/memory/memory_registry_path.h"

#include "platform/ansi_text.h"

namespace platform::registry_path {

bool KeyNames::Next(std::string_view& name) {
  while (pos_ < path_.size() && path_[pos_] == '\\') ++pos_;
  if (pos_ >= path_.size()) return false;
  const std::size_t start = pos_;
  while (pos_ < path_.size() && path_[pos_] != '\\') {
    pos_ += ansi::CharLengthAt(path_, pos_);
  }
  name = path_.substr(start, pos_ - start);
  return true;
}

bool StartsWithBackslash(std::string_view path) { return !path.empty() && path.front() == '\\'; }

std::size_t CharCount(std::string_view name) { return ansi::Utf16Length(name); }

std::string Join(std::string_view parentPath, std::string_view name) {
  std::string path(parentPath);
  if (!path.empty()) path += '\\';
  path += name;
  return path;
}

}  // namespace platform::registry_path
