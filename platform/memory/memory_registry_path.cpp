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

std::string In32BitView(std::string_view path) {
  constexpr std::string_view kRedirected = "SOFTWARE";
  constexpr std::string_view kWow6432Node = "Wow6432Node";
  KeyNames names(path);
  std::string_view first;
  std::string_view second;
  if (!names.Next(first) || !ansi::EqualsNoCase(first, kRedirected) ||
      (names.Next(second) && ansi::EqualsNoCase(second, kWow6432Node))) {
    return std::string(path);
  }
  const std::size_t end = static_cast<std::size_t>(first.data() - path.data()) + first.size();
  return std::string(path.substr(0, end)) + '\\' + std::string(kWow6432Node) +
         std::string(path.substr(end));
}

}  // namespace platform::registry_path
