// The record of installed files: its text, its checks, and reading and writing it.

#include "install/installation_record.h"

#include <algorithm>
#include <array>

#include "platform/ansi_text.h"
#include "platform/code_page.h"

namespace install {
namespace {

constexpr std::string_view kHeader = "ZelvarInstallRecord 1";
constexpr std::string_view kFileLine = "F ";
constexpr std::string_view kEnd = "end";
constexpr unsigned kUtf8 = 65001;
// How much of a refused entry the user is shown.
constexpr std::size_t kShownEntryBytes = 100;

constexpr std::array<std::string_view, 4> kDeviceNames{"CON", "PRN", "AUX", "NUL"};

bool IsForbiddenByte(unsigned char byte) {
  return byte < 0x20 || std::string_view("<>:\"/|?*").find(static_cast<char>(byte)) !=
                            std::string_view::npos;
}

// CON, NUL, COM1 and the like name devices in every folder, with any extension.
bool IsDeviceName(std::string_view name) {
  const std::string stem = ansi::ToUpper(name.substr(0, name.find('.')));
  if (std::find(kDeviceNames.begin(), kDeviceNames.end(), stem) != kDeviceNames.end()) {
    return true;
  }
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) &&
         stem[3] >= '1' && stem[3] <= '9';
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.back() == ' ' || name.back() == '.') {
    return false;
  }
  for (std::size_t pos = 0; pos < name.size(); pos += ansi::CharLengthAt(name, pos)) {
    if (ansi::CharLengthAt(name, pos) == 1 && IsForbiddenByte(static_cast<unsigned char>(name[pos]))) {
      return false;
    }
  }
  return !IsDeviceName(name);
}

// The names of a relative path, split at backslashes that are characters of their own.
std::vector<std::string_view> Names(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos <= path.size();) {
    if (pos == path.size() || path[pos] == '\\') {
      names.push_back(path.substr(start, pos - start));
      start = pos + 1;
      ++pos;
      continue;
    }
    pos += ansi::CharLengthAt(path, pos);
  }
  return names;
}

// The entry in the ANSI code page; false when the code page cannot spell it, so that the name
// on disk would not be the one recorded.
bool FromRecordText(std::string_view utf8, std::string& name) {
  const std::u16string wide = code_page::ToUtf16(kUtf8, utf8);
  if (code_page::FromUtf16(kUtf8, wide) != utf8) return false;
  const unsigned codePage = ansi::ActiveCodePage();
  name = code_page::FromUtf16(codePage, wide);
  return code_page::ToUtf16(codePage, name) == wide;
}

std::string Shown(std::string_view utf8) {
  std::string text = code_page::FromUtf16(ansi::ActiveCodePage(), code_page::ToUtf16(kUtf8, utf8));
  std::size_t end = 0;
  while (end < text.size() && end + ansi::CharLengthAt(text, end) <= kShownEntryBytes) {
    end += ansi::CharLengthAt(text, end);
  }
  if (end < text.size()) text = text.substr(0, end) + "...";
  return text;
}

std::string Join(const std::string& folder, std::string_view entry) {
  std::string path = folder;
  path += '\\';
  path += entry;
  return path;
}

}  // namespace

bool InstallRecord::Has(std::string_view name) const {
  return std::any_of(files.begin(), files.end(),
                     [&](const std::string& file) { return ansi::EqualsNoCase(file, name); });
}

void InstallRecord::Add(std::string_view name) {
  if (!Has(name)) files.emplace_back(name);
}

void InstallRecord::Remove(std::string_view name) {
  std::erase_if(files, [&](const std::string& file) { return ansi::EqualsNoCase(file, name); });
}

std::string FormatInstallRecord(const InstallRecord& record) {
  std::string text(kHeader);
  text += "\r\n";
  for (const std::string& file : record.files) {
    text += kFileLine;
    text += code_page::FromUtf16(kUtf8, code_page::ToUtf16(ansi::ActiveCodePage(), file));
    text += "\r\n";
  }
  text += kEnd;
  text += "\r\n";
  return text;
}

bool IsEntryInside(std::string_view entry, const std::string& productFolder) {
  if (entry.empty()) return false;
  for (const std::string_view name : Names(entry)) {
    if (!IsPlainName(name)) return false;
  }
  const std::string path = Join(productFolder, entry);
  return path.size() < platform::kMaxPath && platform::PathCharacters(path) < platform::kMaxPath;
}

bool ParseInstallRecord(std::string_view text, const std::string& productFolder,
                        InstallRecord& record, std::vector<std::string>& refused) {
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    start = end + 1;
  }
  // A record cut short has no end line; one written by someone else has no header.
  if (lines.size() < 2 || lines.front() != kHeader || lines.back() != kEnd) return false;
  InstallRecord read;
  std::vector<std::string> refusedHere;
  for (std::size_t k = 1; k + 1 < lines.size(); ++k) {
    if (!lines[k].starts_with(kFileLine)) return false;
    const std::string_view entry = lines[k].substr(kFileLine.size());
    std::string name;
    if (FromRecordText(entry, name) && IsEntryInside(name, productFolder)) {
      read.Add(name);
    } else {
      refusedHere.push_back(Shown(entry));
    }
  }
  record = std::move(read);
  refused = std::move(refusedHere);
  return true;
}

bool ReachedWithoutLinks(platform::FileSystem& files, const std::string& productFolder,
                         std::string_view entry) {
  const auto isRealFolder = [&](const std::string& path) {
    const std::uint32_t attributes = files.GetAttributes(path.c_str());
    return attributes != platform::attr::kInvalid &&
           (attributes & platform::attr::kDirectory) != 0 &&
           (attributes & platform::attr::kReparsePoint) == 0;
  };
  if (!isRealFolder(productFolder)) return false;
  const std::vector<std::string_view> names = Names(entry);
  std::string folder = productFolder;
  for (std::size_t k = 0; k + 1 < names.size(); ++k) {
    folder = Join(folder, names[k]);
    if (!isRealFolder(folder)) return false;
  }
  return true;
}

RecordReading ReadInstallRecord(platform::FileSystem& files, const std::string& productFolder) {
  RecordReading reading;
  const std::string path = Join(productFolder, kInstallRecordName);
  const std::uint32_t attributes = files.GetAttributes(path.c_str());
  if (attributes == platform::attr::kInvalid) {
    reading.state = RecordState::Missing;
    return reading;
  }
  std::string text;
  // A link in the record's place leads somewhere else: what it says is not this folder's.
  reading.state = (attributes & (platform::attr::kReparsePoint | platform::attr::kDirectory)) == 0 &&
                          files.ReadWholeFile(path.c_str(), kInstallRecordLimit, text) &&
                          ParseInstallRecord(text, productFolder, reading.record, reading.refused)
                      ? RecordState::Read
                      : RecordState::Unreadable;
  return reading;
}

bool WriteInstallRecord(platform::FileSystem& files, const std::string& productFolder,
                        const InstallRecord& record) {
  return files.WriteWholeFile(Join(productFolder, kInstallRecordName).c_str(),
                              FormatInstallRecord(record));
}

}  // namespace install
