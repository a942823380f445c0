#include "ui/logic/folder_path_checks.h"

#include <string>
#include <vector>

#include "install/closing_notice.h"
#include "install/product_folder.h"
#include "platform/ansi_text.h"

namespace ui {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

bool IsEdgeByte(char c) { return c == '\t' || c == ' ' || c == '.'; }

// Bytes Windows refuses in a file name. None of them but the backslash and the bar can be the
// second byte of a double-byte character in any of the double-byte code pages (932, 936, 949,
// 950: every trail byte is 0x40 or above), so those two are refused only as characters of
// their own; the others are refused wherever they stand, so that no malformed character can
// smuggle a colon or a wildcard through to the file system.
bool IsForbiddenAnywhere(char c) {
  switch (c) {
    case '"':
    case '*':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
      return true;
    default:
      return false;
  }
}

bool IsForbiddenCharacter(char c) { return IsForbiddenAnywhere(c) || c == '\\' || c == '|'; }

// Position of the first backslash at or after `start` that is a character of its own, or the
// text's end. `start` must be a character boundary.
std::size_t NextSeparator(std::string_view text, std::size_t start) {
  for (std::size_t pos = start; pos < text.size();) {
    const std::size_t length = ansi::CharLengthAt(text, pos);
    if (length == 1 && text[pos] == '\\') return pos;
    pos += length;
  }
  return text.size();
}

std::string FolderMessage(const char* path, const char* verdict) {
  std::string text = "The folder:\n\n";
  text += path != nullptr ? path : "";
  text += "\n\n";
  text += verdict;
  return text;
}

void Report(const FolderMessages& messages, const char* path, int result) {
  const std::string text =
      FolderMessage(path, result == FolderInvalid ? "is invalid. Please reenter."
                                                  : "can not be created. Please double check.");
  messages.boxes.Show(messages.owner, text.c_str(), messages.caption,
                      platform::mb::kOk | platform::mb::kIconExclamation);
}

// The levels of a path of the right form that do not exist yet, from the top down.
std::vector<std::string> MissingLevels(platform::FileSystem& files, std::string_view path) {
  std::vector<std::string> missing;
  for (std::size_t end = NextSeparator(path, 3);; end = NextSeparator(path, end + 1)) {
    const std::string level(path.substr(0, end));
    if (files.Access(level.c_str(), 0) != 0) missing.push_back(level);
    if (end >= path.size()) break;
  }
  return missing;
}

}  // namespace

int IsValidFolderName(std::string_view name) {
  if (name.empty()) return 0;
  // Tabs, spaces and full stops are never part of a double-byte character.
  if (IsEdgeByte(name.front()) || IsEdgeByte(name.back())) return 0;
  for (std::size_t pos = 0; pos < name.size();) {
    const std::size_t length = ansi::CharLengthAt(name, pos);
    if (length == 1 ? IsForbiddenCharacter(name[pos]) : IsForbiddenAnywhere(name[pos + 1])) {
      return 0;
    }
    pos += length;
  }
  return 1;
}

int CheckFolderPath(platform::FileSystem& files, const char* path, bool checkOnly) {
  if (path == nullptr) return FolderInvalid;
  const std::string_view text(path);
  // A longer path would have to be cut to fit the path buffers, and a cut path names another
  // folder than the one typed: it is refused, never created.
  if (text.size() < 3 || text.size() > kMaxFolderPathLength) return FolderInvalid;
  if (!IsAsciiLetter(text[0]) || text[1] != ':' || text[2] != '\\') return FolderInvalid;

  if (text.size() == 3) {
    if (checkOnly) return FolderOk;
    return files.Access(path, 0) == 0 ? FolderOk : FolderNotCreated;
  }

  for (std::size_t start = 3;;) {
    const std::size_t end = NextSeparator(text, start);
    if (!IsValidFolderName(text.substr(start, end - start))) return FolderInvalid;
    if (!checkOnly) {
      // The folder may be there already; only whether it exists afterwards counts.
      const std::string folder(text.substr(0, end));
      files.CreateFolder(folder.c_str());
      if (files.Access(folder.c_str(), 0) != 0) return FolderNotCreated;
    }
    if (end == text.size()) return FolderOk;
    start = end + 1;
    if (start == text.size()) return FolderInvalid;  // a trailing backslash
  }
}

int MakeSureFolderExists(platform::FileSystem& files, const FolderMessages& messages,
                         const char* path, platform::FolderAccess madeAccess) {
  int result = CheckFolderPath(files, path, true);
  if (result != FolderOk) {
    Report(messages, path, result);
    return result;
  }
  if (files.Access(path, 0) == 0) return FolderOk;

  const std::string question =
      FolderMessage(path, "does not exist. Do you want the folder to be created?");
  if (messages.boxes.Show(messages.owner, question.c_str(), messages.caption,
                          platform::mb::kYesNo | platform::mb::kIconQuestion) !=
      platform::mb::kIdYes) {
    return FolderDeclined;
  }

  const std::vector<std::string> missing = MissingLevels(files, path);
  result = CheckFolderPath(files, path, false);
  if (result != FolderOk) Report(messages, path, result);
  if (madeAccess != platform::FolderAccess::Inherited) {
    std::vector<std::string> made;
    for (const std::string& level : missing) {
      if (files.Access(level.c_str(), 0) == 0) made.push_back(level);
    }
    const install::FolderLeftOpen open = install::CloseFolders(files, made, madeAccess);
    if (open.error != 0) {
      const std::string text =
          install::FolderLeftOpenText(open.folder, files.ErrorText(open.error));
      messages.boxes.Show(messages.owner, text.c_str(), messages.caption,
                          platform::mb::kOk | platform::mb::kIconExclamation);
    }
  }
  return result;
}

}  // namespace ui
