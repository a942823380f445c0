// The files the setup put in place, taken away: the product folder and the settings file.

#include "uninstall/file_removal.h"

#include "discovery/text_format.h"
#include "install/package_copy.h"
#include "install/package_data_folder.h"
#include "platform/ansi_text.h"

namespace uninstall {
namespace {

// The longest path the ANSI file functions take, in characters.
constexpr std::size_t kMaxPathChars = discovery::kPathBufferSize - 1;

RemovalRefused Why(bool autoCADRunning) {
  return autoCADRunning ? RemovalRefused::AutoCADRunning : RemovalRefused::NoRights;
}

}  // namespace

bool RemoveOneFile(platform::FileSystem& files, const std::string& path, bool autoCADRunning,
                   RemovalReport& report) {
  install::ClearReadOnly(files, path);
  if (files.RemoveFile(path.c_str())) {
    return true;
  }
  report.Add(path, Why(autoCADRunning));
  return false;
}

void RemoveProductFiles(platform::FileSystem& files, const std::string& productFolder,
                        const std::string& kept, bool autoCADRunning, RemovalReport& report) {
  const std::string pattern = productFolder + "\\*";
  if (pattern.size() > kMaxPathChars) {
    report.Add(productFolder, RemovalRefused::NoRights);
    return;
  }
  // Listed first, removed after: a listing is not promised to survive changes to its folder.
  std::vector<platform::FindData> entries;
  {
    platform::FindHandle listing;
    platform::FindData entry;
    for (bool more = files.FindFirst(pattern.c_str(), listing, entry); more;
         more = files.FindNext(listing, entry)) {
      if (entry.fileName != "." && entry.fileName != "..") entries.push_back(entry);
    }
  }
  for (const platform::FindData& entry : entries) {
    const std::string path = productFolder + "\\" + entry.fileName;
    if (path.size() > kMaxPathChars) {
      // A path the file functions cannot take is never acted on in a cut form.
      report.Add(path, RemovalRefused::NoRights);
      continue;
    }
    if ((entry.attributes & platform::attr::kDirectory) != 0) {
      RemoveProductFiles(files, path, kept, autoCADRunning, report);
      // What stayed inside has been reported; the folder then stays quietly.
      files.RemoveFolder(path.c_str());
    } else if (!ansi::EqualsNoCase(path, kept)) {
      RemoveOneFile(files, path, autoCADRunning, report);
    }
  }
}

void RemoveProductFolder(platform::FileSystem& files, const std::string& productFolder,
                         RemovalReport& report) {
  if (!files.RemoveFolder(productFolder.c_str())) {
    if (install::GetPathKind(files, productFolder) != install::PathMissing) {
      report.Add(productFolder, RemovalRefused::NoRights);
    }
    return;
  }
  const std::size_t slash = ansi::FindLastBackslash(productFolder);
  if (slash != std::string::npos && slash > 2) {
    files.RemoveFolder(productFolder.substr(0, slash).c_str());
  }
}

void RemoveSettingsFile(platform::FileSystem& files, RemovalReport& report) {
  char appData[discovery::kPathBufferSize];
  char settingsFolder[discovery::kPathBufferSize];
  char settingsFile[discovery::kPathBufferSize];
  if (!install::FindAppDataFolder(files, appData) ||
      discovery::FormatPath(settingsFolder, "%s\\Zelvar", appData) == discovery::kTextDidNotFit ||
      discovery::FormatPath(settingsFile, "%s\\%s", settingsFolder, install::kSettingsFileName) ==
          discovery::kTextDidNotFit) {
    return;
  }
  if (install::GetPathKind(files, settingsFile) == install::PathIsFile &&
      RemoveOneFile(files, settingsFile, false, report)) {
    files.RemoveFolder(settingsFolder);
  }
}

}  // namespace uninstall
