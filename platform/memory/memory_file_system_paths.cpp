#include "platform/memory/memory_file_system_paths.h"

#include <cstddef>
#include <utility>

#include "platform/ansi_text.h"

namespace platform::paths {
namespace {

using Chars = std::vector<std::string_view>;

Chars SplitChars(std::string_view text) {
  Chars chars;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = ansi::CharLengthAt(text, pos);
    chars.push_back(text.substr(pos, length));
    pos += length;
  }
  return chars;
}

bool IsSeparator(std::string_view ch) { return ch == "\\" || ch == "/"; }

bool IsAsciiLetter(std::string_view ch) {
  return ch.size() == 1 && ((ch[0] >= 'A' && ch[0] <= 'Z') || (ch[0] >= 'a' && ch[0] <= 'z'));
}

// Collects the characters up to the next separator (or the end) starting at `i`.
std::string TakeName(const Chars& chars, std::size_t& i) {
  std::string name;
  while (i < chars.size() && !IsSeparator(chars[i])) name += chars[i++];
  return name;
}

// Windows ignores dots and spaces at the end of a file name: "setup.ini." is "setup.ini".
void DropTrailingDotsAndSpaces(std::string& name) {
  if (name == "." || name == "..") return;
  Chars chars = SplitChars(name);
  while (!chars.empty() && (chars.back() == "." || chars.back() == " ")) chars.pop_back();
  std::string kept;
  for (std::string_view ch : chars) kept += ch;
  name = std::move(kept);
}

void AddName(std::vector<std::string>& names, const std::string& name) {
  if (name.empty() || name == ".") return;
  if (name == "..") {
    if (!names.empty()) names.pop_back();  // ".." at a root stays at the root
    return;
  }
  names.push_back(name);
}

bool MatchFrom(const Chars& pattern, std::size_t p, const Chars& name, std::size_t n) {
  while (p < pattern.size()) {
    if (pattern[p] == "*") {
      while (p < pattern.size() && pattern[p] == "*") ++p;
      if (p == pattern.size()) return true;
      for (std::size_t from = n; from <= name.size(); ++from) {
        if (MatchFrom(pattern, p, name, from)) return true;
      }
      return false;
    }
    // The DOS rule: "name.*" also matches "name" itself.
    if (n == name.size() && p + 2 == pattern.size() && pattern[p] == "." && pattern[p + 1] == "*") {
      return true;
    }
    if (n == name.size()) return false;
    if (pattern[p] != "?" && !ansi::EqualsNoCase(pattern[p], name[n])) return false;
    ++p;
    ++n;
  }
  return n == name.size();
}

}  // namespace

bool ResolveWindowsPath(std::string_view text, const WindowsPath& current, WindowsPath& resolved) {
  const Chars chars = SplitChars(text);
  if (chars.empty()) return false;

  WindowsPath out;
  std::size_t i = 0;
  if (chars.size() >= 2 && IsSeparator(chars[0]) && IsSeparator(chars[1])) {
    i = 2;
    const std::string server = TakeName(chars, i);
    if (server.empty() || i == chars.size()) return false;
    ++i;
    const std::string share = TakeName(chars, i);
    if (share.empty()) return false;
    out.root = "\\\\" + server + "\\" + share;
  } else if (chars.size() >= 2 && IsAsciiLetter(chars[0]) && chars[1] == ":") {
    i = 2;
    const std::string drive = std::string(chars[0]) + ":";
    const bool fromRoot = i < chars.size() && IsSeparator(chars[i]);
    if (!fromRoot && ansi::EqualsNoCase(drive, current.root)) {
      out = current;
    } else {
      out.root = drive;
    }
  } else if (IsSeparator(chars[0])) {
    out.root = current.root;
  } else {
    out = current;
  }
  out.endsWithSeparator = false;

  std::vector<std::string> raw;
  while (i < chars.size()) {
    if (IsSeparator(chars[i])) {
      ++i;
      continue;
    }
    raw.push_back(TakeName(chars, i));
  }
  out.endsWithSeparator = IsSeparator(chars.back());
  if (!raw.empty() && !out.endsWithSeparator) DropTrailingDotsAndSpaces(raw.back());
  for (const std::string& name : raw) AddName(out.names, name);

  resolved = std::move(out);
  return true;
}

std::string WindowsPathText(const WindowsPath& path) {
  std::string text = path.root;
  if (path.names.empty()) return text + "\\";
  for (const std::string& name : path.names) {
    text += '\\';
    text += name;
  }
  return text;
}

bool SamePlace(const WindowsPath& a, const WindowsPath& b) {
  return a.names.size() == b.names.size() && IsAtOrBelow(a, b);
}

bool IsAtOrBelow(const WindowsPath& inner, const WindowsPath& outer) {
  if (!ansi::EqualsNoCase(inner.root, outer.root)) return false;
  if (inner.names.size() < outer.names.size()) return false;
  for (std::size_t k = 0; k < outer.names.size(); ++k) {
    if (!ansi::EqualsNoCase(inner.names[k], outer.names[k])) return false;
  }
  return true;
}

bool HasWildcard(std::string_view name) {
  for (std::string_view ch : SplitChars(name)) {
    if (ch == "*" || ch == "?") return true;
  }
  return false;
}

bool NameMatchesPattern(std::string_view pattern, std::string_view name) {
  return MatchFrom(SplitChars(pattern), 0, SplitChars(name), 0);
}

bool IsValidFileName(std::string_view name) {
  if (name.empty()) return false;
  for (std::string_view ch : SplitChars(name)) {
    if (ch.size() != 1) continue;
    const unsigned char byte = static_cast<unsigned char>(ch[0]);
    if (byte < 0x20) return false;
    for (char forbidden : std::string_view("<>:\"/\\|?*")) {
      if (ch[0] == forbidden) return false;
    }
  }
  return true;
}

}  // namespace platform::paths
