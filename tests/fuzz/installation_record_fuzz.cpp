// The record of installed files as anyone who can write the product folder may leave it: what
// the uninstaller accepts names only files inside the folder, each entry is judged on its own,
// a record reads back as written, and one without its header or end line counts for nothing.
// Input: a selector byte (bits 0, 6, 7: the code page), a length byte n, n bytes of the product
// folder (narrow, in the code page), and the record's text as the rest.

#include <algorithm>

#include "install/installation_record.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr std::string_view kHeader = "ZelvarInstallRecord 1";

struct Reading {
  bool read = false;
  install::InstallRecord record;
  std::vector<std::string> refused;
};

Reading Read(std::string_view text, const std::string& folder) {
  Reading reading;
  reading.read = install::ParseInstallRecord(text, folder, reading.record, reading.refused);
  return reading;
}

// The names of a path, split at backslashes that are characters of their own.
std::vector<std::string_view> NamesOf(std::string_view path) {
  std::vector<std::string_view> names;
  std::size_t start = 0;
  for (std::size_t pos = 0; pos < path.size(); pos += ansi::CharLengthAt(path, pos)) {
    if (path[pos] == '\\') {
      names.push_back(path.substr(start, pos - start));
      start = pos + 1;
    }
  }
  names.push_back(path.substr(start));
  return names;
}

// The path the uninstaller removes keeps the folder's names whole and adds plain names below.
void CheckInside(const std::string& folder, const std::string& file) {
  const std::string path = folder + "\\" + file;
  FUZZ_CHECK(platform::PathCharacters(path) < platform::kMaxPath);
  const std::vector<std::string_view> folderNames = NamesOf(folder);
  const std::vector<std::string_view> names = NamesOf(path);
  FUZZ_CHECK(names.size() > folderNames.size() &&
             std::equal(folderNames.begin(), folderNames.end(), names.begin()));
  for (std::size_t k = folderNames.size(); k < names.size(); ++k) {
    FUZZ_CHECK(!names[k].empty() && names[k] != "." && names[k] != "..");
    for (const char byte : names[k]) {
      FUZZ_CHECK(byte != ':' && byte != '/' && static_cast<unsigned char>(byte) >= 0x20);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(data, size);
  const fuzz::CodePageScope codePage(fuzz::CodePageFrom(input.Byte()));
  const std::string folder(input.Take(input.Byte()));
  const std::string_view text = input.Rest();

  const Reading whole = Read(text, folder);
  // The lines as the record is read: up to each LF, one CR before it dropped.
  std::vector<std::size_t> starts;
  std::vector<std::string_view> lines;
  for (std::size_t start = 0; start < text.size();) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    starts.push_back(start);
    lines.push_back(line);
    start = end + 1;
  }
  if (!whole.read) return 0;
  FUZZ_CHECK(lines.size() >= 2 && lines.front() == kHeader && lines.back() == "end");
  // Without its header, or cut before its end line, nothing of it counts.
  FUZZ_CHECK(!Read(text.substr(starts[1]), folder).read);
  FUZZ_CHECK(!Read(text.substr(0, starts.back()), folder).read);

  // Each F line is accepted or refused as it would be in a record of its own.
  install::InstallRecord accepted;
  std::size_t refusedLines = 0;
  for (std::size_t k = 1; k + 1 < lines.size(); ++k) {
    const std::string alone = std::string(kHeader) + "\r\n" + std::string(lines[k]) + "\r\nend";
    const Reading one = Read(alone, folder);
    FUZZ_CHECK(one.read && one.record.files.size() + one.refused.size() == 1);
    refusedLines += one.refused.size();
    for (const std::string& file : one.record.files) accepted.Add(file);
  }
  FUZZ_CHECK(whole.refused.size() == refusedLines && accepted.files == whole.record.files);
  // The uninstaller's folder ends in the product's name, a whole character; after a lone lead
  // byte the backslash joining an entry would become its second byte.
  const bool endsWhole = folder.empty() || !ansi::IsLeadByte(folder.back()) ||
                         !fuzz::IsCharBoundary(folder, folder.size() - 1);
  if (endsWhole) {
    for (const std::string& file : whole.record.files) CheckInside(folder, file);
  }
  // Written again and read back, the record is the same, with nothing refused.
  const Reading again = Read(install::FormatInstallRecord(whole.record), folder);
  FUZZ_CHECK(again.read && again.record.files == whole.record.files && again.refused.empty());
  return 0;
}
