// The tool's command line: a verb, then options that each come once with their value.

#include "deploy/command_line.h"

#include <string_view>

#include "install/product_folder.h"
#include "platform/ansi_text.h"
#include "platform/file_system.h"

namespace deploy {
namespace {

// The longest name the tool places below the folder: the module a demand-load key names.
constexpr std::string_view kLongestFileInFolder = "\\ZV_BatchPlot2008.ARX";

bool ParseVerb(std::string_view text, Verb& verb) {
  if (text == "machine") verb = Verb::Machine;
  else if (text == "user") verb = Verb::User;
  else if (text == "remove") verb = Verb::Remove;
  else return false;
  return true;
}

// Windows' argument rules read `"C:\X\"` as an escaped quote, so callers write `"C:\X\."`:
// one trailing "\." or "\" goes.
std::string WithoutTrailingSeparator(std::string folder) {
  if (folder.size() >= 2 && folder.ends_with('.') &&
      ansi::EndsWithBackslash(std::string_view(folder).substr(0, folder.size() - 1))) {
    folder.pop_back();
  }
  return ansi::StripTrailingBackslash(folder);
}

bool CheckFolder(const std::string& folder, std::string& error) {
  if (!install::IsAbsoluteFolder(folder) || folder.size() <= 2) {
    error = "the folder is not an absolute folder below a drive or share: " + folder;
  } else if (!install::FolderCanBeMade(folder) ||
             folder.size() + kLongestFileInFolder.size() >= platform::kMaxPath) {
    error = "the folder's path is too long: " + folder;
  } else if (!install::FolderFitsTrustedPaths(folder)) {
    error = "the folder holds a ';', which AutoCAD's trusted paths cannot hold: " + folder;
  } else {
    return true;
  }
  return false;
}

// "all", or years of the release table separated by commas.
bool ParseReleases(std::string_view text, discovery::ReleaseFlags& flags, std::string& error) {
  flags.fill(0);
  if (text == "all") {
    flags.fill(1);
    return true;
  }
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view item = text.substr(0, comma);
    int year = 0;
    bool digits = !item.empty() && item.size() <= 4;
    for (const char c : item) {
      digits = digits && c >= '0' && c <= '9';
      year = year * 10 + (c - '0');
    }
    const discovery::ReleaseRow* row = digits ? discovery::FindReleaseByYear(year) : nullptr;
    if (row == nullptr) {
      error = "--releases names no AutoCAD release this tool knows: " + std::string(item);
      return false;
    }
    flags[static_cast<std::size_t>(row->releaseIndex)] = 1;
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, DeployCommand& command,
                      std::string& error) {
  DeployCommand parsed;
  parsed.releases.fill(1);
  if (args.empty() || !ParseVerb(args[0], parsed.verb)) {
    error = args.empty() ? "no verb given" : "unknown verb: " + args[0];
    return false;
  }
  bool folderSeen = false;
  bool releasesSeen = false;
  bool logSeen = false;
  for (std::size_t i = 1; i < args.size(); i += 2) {
    const std::string& option = args[i];
    bool* seen = option == "--folder"     ? &folderSeen
                 : option == "--releases" ? &releasesSeen
                 : option == "--log"      ? &logSeen
                                          : nullptr;
    if (seen == nullptr) {
      error = "unknown option: " + option;
      return false;
    }
    if (seen == &releasesSeen && parsed.verb != Verb::Machine) {
      error = "--releases belongs to the verb machine alone";
      return false;
    }
    if (*seen) {
      error = "option given twice: " + option;
      return false;
    }
    *seen = true;
    if (i + 1 >= args.size() || args[i + 1].empty() || args[i + 1].starts_with("--")) {
      error = "option without its value: " + option;
      return false;
    }
    const std::string& value = args[i + 1];
    if (seen == &folderSeen) {
      parsed.folder = WithoutTrailingSeparator(value);
      if (!CheckFolder(parsed.folder, error)) return false;
    } else if (seen == &releasesSeen) {
      if (!ParseReleases(value, parsed.releases, error)) return false;
    } else {
      if (value.size() >= platform::kMaxPath) {
        error = "the log's path is too long: " + value;
        return false;
      }
      parsed.logPath = value;
    }
  }
  if (!folderSeen) {
    error = "--folder is missing";
    return false;
  }
  command = std::move(parsed);
  return true;
}

}  // namespace deploy
