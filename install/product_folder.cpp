// Where the package goes: the rules for the chosen folder and the making of it.

#include "install/product_folder.h"

#include "platform/ansi_text.h"

namespace install {
namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Position of the first backslash at or after `from` that is a character of its own.
std::size_t FindBackslash(const std::string& text, std::size_t from) {
  for (std::size_t pos = from; pos < text.size(); pos += ansi::CharLengthAt(text, pos)) {
    if (text[pos] == '\\') {
      return pos;
    }
  }
  return std::string::npos;
}

bool IsShareFolder(const std::string& folder) {
  if (folder.size() < 5 || folder[0] != '\\' || folder[1] != '\\') {
    return false;
  }
  const std::size_t serverEnd = FindBackslash(folder, 2);
  return serverEnd != std::string::npos && serverEnd > 2 && serverEnd + 1 < folder.size() &&
         folder[serverEnd + 1] != '\\';
}

// Where the first folder below the drive or share begins: after "C:\" or "\\server\share\".
std::size_t FirstLevelStart(const std::string& folder) {
  if (!IsShareFolder(folder)) {
    return 3;
  }
  const std::size_t shareEnd = FindBackslash(folder, FindBackslash(folder, 2) + 1);
  return shareEnd == std::string::npos ? folder.size() : shareEnd + 1;
}

}  // namespace

bool FolderCanBeMade(const std::string& folder) {
  return folder.size() < platform::kMaxPath &&
         platform::PathCharacters(folder) < platform::kMaxFolderPath;
}

bool IsAbsoluteFolder(const std::string& folder) {
  if (folder.size() >= 2 && IsDriveLetter(folder[0]) && folder[1] == ':') {
    return folder.size() == 2 || folder[2] == '\\';
  }
  return IsShareFolder(folder);
}

bool FolderFitsTrustedPaths(const std::string& folder) {
  // ';' is no trail byte in any code page the setup meets, so a byte search is exact.
  return folder.find(';') == std::string::npos;
}

platform::FolderAccess AccessOfMadeFolders(platform::ProcessList& processes) {
  return processes.RunsAsAdministrator() ? platform::FolderAccess::MachineWide
                                         : platform::FolderAccess::CurrentUserOnly;
}

FolderLeftOpen CloseFolders(platform::FileSystem& files, const std::vector<std::string>& folders,
                            platform::FolderAccess access) {
  FolderLeftOpen open;
  for (const std::string& folder : folders) {
    if (!files.ProtectFolder(folder.c_str(), access) && open.error == 0) {
      open.error = files.LastError();
      open.folder = folder;
    }
  }
  return open;
}

bool MakeFolderLevels(platform::FileSystem& files, const std::string& folder,
                      std::vector<std::string>* made) {
  if (!IsAbsoluteFolder(folder) || !FolderCanBeMade(folder)) {
    return false;
  }
  for (std::size_t end = FindBackslash(folder, FirstLevelStart(folder));;
       end = FindBackslash(folder, end + 1)) {
    // Only whether each level exists afterwards counts: it may have been there before.
    const std::string level = folder.substr(0, end == std::string::npos ? folder.size() : end);
    if (files.MakeFolder(level.c_str()) == 0 && made != nullptr) made->push_back(level);
    if (end == std::string::npos) break;
  }
  const std::uint32_t attributes = files.GetAttributes(folder.c_str());
  return attributes != platform::attr::kInvalid && (attributes & platform::attr::kDirectory) != 0;
}

}  // namespace install
