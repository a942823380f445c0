// The folder chooser's checks on any typed path: checking alone touches nothing; the verdict
// on the form is the one the rule of the checks gives; creating makes folders of that path
// and nothing else; a second attempt changes nothing; OK in the chooser asks and
// complains exactly as often as it should.
//
// Input: a selector byte (bits 0, 6, 7: the code page; bit 1: the user answers No; bit 2:
// writes are refused on the whole of C:), then the typed path up to its first NUL.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "tests/fuzz/fuzz_support.h"
#include "ui/logic/folder_path_checks.h"

namespace {

using ui::FolderDeclined;
using ui::FolderInvalid;
using ui::FolderNotCreated;
using ui::FolderOk;

constexpr platform::WindowRef kOwner = 0x40;

struct Case {
  std::string path;
  bool answerNo = false;
  bool denyWrites = false;
};

// The machine every attempt starts from: a folder and a file already there.
void SetUp(platform::MemoryFileSystem& files, const Case& c) {
  files.AddFolder("C:\\Program Files\\Zelvar");
  files.AddFile("C:\\Data\\notes.txt", "x");
  if (c.denyWrites) files.DenyWrites("C:\\");
}

bool IsEdge(char c) { return c == '\t' || c == ' ' || c == '.'; }

// One folder name as the checks' rule describes it, written out a second time here.
bool NameLooksValid(std::string_view name) {
  if (name.empty() || IsEdge(name.front()) || IsEdge(name.back())) return false;
  for (std::size_t pos = 0; pos < name.size();) {
    const std::size_t length = ansi::CharLengthAt(name, pos);
    for (std::size_t i = 0; i < length; ++i) {
      const char c = name[pos + i];
      if (std::string_view("\"*/:<>?").find(c) != std::string_view::npos) return false;
      if (length == 1 && (c == '\\' || c == '|')) return false;
    }
    pos += length;
  }
  return true;
}

bool PathLooksValid(std::string_view path) {
  if (path.size() < 3 || path.size() > ui::kMaxFolderPathLength) return false;
  const char drive = path[0];
  if (!((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))) return false;
  if (path[1] != ':' || path[2] != '\\') return false;
  if (path.size() == 3) return true;
  // Names between the backslashes that are characters of their own.
  std::size_t start = 3;
  for (std::size_t pos = 3; pos <= path.size();) {
    if (pos == path.size() || (ansi::CharLengthAt(path, pos) == 1 && path[pos] == '\\')) {
      if (!NameLooksValid(path.substr(start, pos - start))) return false;
      if (pos == path.size()) break;
      start = pos + 1;
      pos += 1;
      continue;
    }
    pos += ansi::CharLengthAt(path, pos);
  }
  return true;
}

// Only the folders named by the path itself may appear: each one a beginning of the path
// that ends where a folder name ends.
void CheckOnlyPathFoldersAdded(const platform::FileTree& before, const platform::FileTree& after,
                               std::string_view path) {
  for (const auto& [added, state] : after) {
    if (before.contains(added)) continue;
    FUZZ_CHECK((state.attributes & platform::attr::kDirectory) != 0);
    FUZZ_CHECK(added.size() <= path.size());
    FUZZ_CHECK(ansi::EqualsNoCase(added, path.substr(0, added.size())));
    FUZZ_CHECK(added.size() == path.size() ||
               (path[added.size()] == '\\' && fuzz::IsCharBoundary(path, added.size())));
  }
  for (const auto& [kept, state] : before) FUZZ_CHECK(after.contains(kept));
}

void CheckPathChecks(const Case& c) {
  platform::MemoryFileSystem files;
  SetUp(files, c);
  const platform::FileTree initial = files.Snapshot();
  const bool existed = files.Exists(c.path);

  const int checked = ui::CheckFolderPath(files, c.path.c_str(), true);
  FUZZ_CHECK(checked == FolderOk || checked == FolderInvalid);
  FUZZ_CHECK(files.FolderCreationAttempts() == 0);
  FUZZ_CHECK(files.Snapshot() == initial);
  FUZZ_CHECK((checked == FolderOk) == PathLooksValid(c.path));

  const int created = ui::CheckFolderPath(files, c.path.c_str(), false);
  const platform::FileTree afterCreate = files.Snapshot();
  CheckOnlyPathFoldersAdded(initial, afterCreate, c.path);
  if (checked == FolderInvalid) {
    // Creating checks level by level and stops at the first bad name or failed folder; the
    // folders above it may stay. The chooser never gets here: it checks the whole path first.
    FUZZ_CHECK(created == FolderInvalid || created == FolderNotCreated);
    return;
  }
  FUZZ_CHECK(created == FolderOk || created == FolderNotCreated);
  FUZZ_CHECK((created == FolderOk) == files.Exists(c.path));
  if (c.denyWrites) {
    FUZZ_CHECK(afterCreate == initial);
    FUZZ_CHECK((created == FolderOk) == existed);
  }

  // Once there, the path stays acceptable and nothing more is made.
  if (created == FolderOk) {
    FUZZ_CHECK(ui::CheckFolderPath(files, c.path.c_str(), false) == FolderOk);
    FUZZ_CHECK(files.Snapshot() == afterCreate);
  }
}

// OK in the chooser, on a machine of its own, against what the checks above answered.
void CheckChooserOk(const Case& c) {
  platform::MemoryPlatform machine;
  SetUp(machine.files, c);
  const platform::FileTree initial = machine.files.Snapshot();
  const bool existed = machine.files.Exists(c.path);
  const int form = ui::CheckFolderPath(machine.files, c.path.c_str(), true);
  machine.messages.QueueAnswer(c.answerNo ? platform::mb::kIdNo : platform::mb::kIdYes);

  const ui::FolderMessages messages{machine.messages, kOwner, "Setup"};
  const int result = ui::MakeSureFolderExists(machine.files, messages, c.path.c_str());
  const auto& shown = machine.messages.Shown();
  for (const auto& box : shown) FUZZ_CHECK(box.owner == kOwner);

  if (form == FolderInvalid) {
    FUZZ_CHECK(result == FolderInvalid);
    FUZZ_CHECK(shown.size() == 1 && shown[0].flags == (platform::mb::kOk | platform::mb::kIconExclamation));
    FUZZ_CHECK(machine.files.Snapshot() == initial);
    return;
  }
  if (existed) {
    FUZZ_CHECK(result == FolderOk);
    FUZZ_CHECK(shown.empty());
    FUZZ_CHECK(machine.files.Snapshot() == initial);
    return;
  }
  FUZZ_CHECK(!shown.empty() && shown[0].flags == (platform::mb::kYesNo | platform::mb::kIconQuestion));
  if (c.answerNo) {
    FUZZ_CHECK(result == FolderDeclined);
    FUZZ_CHECK(shown.size() == 1);
    FUZZ_CHECK(machine.files.Snapshot() == initial);
    return;
  }
  FUZZ_CHECK(result == FolderOk || result == FolderNotCreated);
  FUZZ_CHECK((result == FolderOk) == machine.files.Exists(c.path));
  // A failed creation is reported; a successful one is not.
  FUZZ_CHECK(shown.size() == (result == FolderOk ? 1u : 2u));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(data, size);
  const std::uint8_t selector = input.Byte();
  const fuzz::CodePageScope codePage(fuzz::CodePageFrom(selector));
  const std::string_view rest = input.Rest();

  Case c;
  c.path = std::string(rest.substr(0, rest.find('\0')));
  c.answerNo = (selector & 2) != 0;
  c.denyWrites = (selector & 4) != 0;
  CheckPathChecks(c);
  CheckChooserOk(c);
  return 0;
}
