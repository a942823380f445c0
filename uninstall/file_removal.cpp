// The files the setup put in place, taken away: the product folder and the settings file.

#include "uninstall/file_removal.h"

#include <vector>

#include "discovery/text_format.h"
#include "install/owned_places.h"
#include "install/package_copy.h"
#include "install/package_data_folder.h"
#include "platform/ansi_text.h"
#include "platform/folder_listing.h"

namespace uninstall {
namespace {

// The longest path the ANSI file functions take, in characters.
constexpr std::size_t kMaxPathChars = discovery::kPathBufferSize - 1;

bool Has(std::uint32_t attributes, std::uint32_t bit) {
  return attributes != platform::attr::kInvalid && (attributes & bit) != 0;
}

// What an installation made before the record existed put there: everything in the folder,
// but never anything behind a link.
void RemoveUnrecordedFiles(platform::FileSystem& files, const std::string& folder,
                           const std::string& kept, bool autoCADRunning, RemovalReport& report) {
  const std::string pattern = folder + "\\*";
  if (pattern.size() > kMaxPathChars) {
    report.Add(folder, RemovalRefused::NoRights);
    return;
  }
  for (const platform::FindData& entry : platform::ListFolder(files, folder)) {
    const std::string path = folder + "\\" + entry.fileName;
    if (path.size() > kMaxPathChars) {
      // A path the file functions cannot take is never acted on in a cut form.
      report.Add(path, RemovalRefused::NoRights);
      continue;
    }
    if (Has(entry.attributes, platform::attr::kReparsePoint)) {
      continue;  // a junction's files belong to wherever it points; the folder stays for it
    }
    if (Has(entry.attributes, platform::attr::kDirectory)) {
      RemoveUnrecordedFiles(files, path, kept, autoCADRunning, report);
      // What stayed inside has been reported; the folder then stays quietly.
      files.RemoveFolder(path.c_str());
    } else if (!ansi::EqualsNoCase(path, kept)) {
      RemoveOneFile(files, path, autoCADRunning, report);
    }
  }
}

void RemoveRecordedFiles(platform::FileSystem& files, const std::string& folder,
                         const install::InstallRecord& record, const std::string& keptName,
                         bool autoCADRunning, RemovalReport& report) {
  for (const std::string& name : record.files) {
    if (ansi::EqualsNoCase(name, keptName)) continue;
    if (!install::ReachedWithoutLinks(files, folder, name)) {
      report.refusedEntries.push_back(name);
      continue;
    }
    const std::string path = folder + "\\" + name;
    const std::uint32_t attributes = files.GetAttributes(path.c_str());
    // A folder or link now stands where the setup put a file: it is not the setup's any more.
    if (attributes == platform::attr::kInvalid ||
        Has(attributes, platform::attr::kDirectory | platform::attr::kReparsePoint)) {
      continue;
    }
    RemoveOneFile(files, path, autoCADRunning, report);
  }
}

}  // namespace

void ReportRefusal(platform::FileSystem& files, const std::string& path, std::uint32_t error,
                   bool autoCADRunning, RemovalReport& report) {
  switch (error) {
    case platform::fs_error::kSharingViolation:
    case platform::fs_error::kLockViolation:
      report.Add(path, RemovalRefused::InUse);
      return;
    case platform::fs_error::kAccessDenied:
      // A module AutoCAD has loaded refuses deletion as access denied, as a running program's
      // own file does.
      report.Add(path, autoCADRunning ? RemovalRefused::AutoCADRunning : RemovalRefused::NoRights);
      return;
    default:
      report.AddWithError(path, files.ErrorText(error));
      return;
  }
}

bool RemoveOneFile(platform::FileSystem& files, const std::string& path, bool autoCADRunning,
                   RemovalReport& report) {
  install::ClearReadOnly(files, path);
  if (files.RemoveFile(path.c_str())) {
    return true;
  }
  const std::uint32_t error = files.LastError();
  if (error == platform::fs_error::kFileNotFound || error == platform::fs_error::kPathNotFound) {
    return true;
  }
  ReportRefusal(files, path, error, autoCADRunning, report);
  return false;
}

void RemoveProductFiles(platform::FileSystem& files, const std::string& productFolder,
                        const install::RecordReading& record, const std::string& keptName,
                        bool autoCADRunning, RemovalReport& report) {
  if (install::GetPathKind(files, productFolder) == install::PathMissing) {
    return;
  }
  if (!install::ReachedWithoutLinks(files, productFolder, keptName)) {
    report.folderIsLink = productFolder;
    return;
  }
  switch (record.state) {
    case install::RecordState::Unreadable:
      report.unreadableRecord = install::InFolder(productFolder, install::kInstallRecordName);
      return;
    case install::RecordState::Read:
      report.refusedEntries = record.refused;
      RemoveRecordedFiles(files, productFolder, record.record, keptName, autoCADRunning, report);
      return;
    case install::RecordState::Missing:
      RemoveUnrecordedFiles(files, productFolder, productFolder + "\\" + keptName, autoCADRunning,
                            report);
      return;
  }
}

void RemoveProductFolder(platform::FileSystem& files, const std::string& productFolder,
                         RemovalReport& report) {
  if (!files.RemoveFolder(productFolder.c_str())) {
    const std::uint32_t error = files.LastError();
    if (install::GetPathKind(files, productFolder) == install::PathMissing) return;
    if (error == platform::fs_error::kDirNotEmpty) {
      report.keptFolder = productFolder;
    } else {
      ReportRefusal(files, productFolder, error, false, report);
    }
    return;
  }
  // The chosen folder goes too when the product folder was all it held; never where it is a
  // link, which the user made (and which Wine would follow, removing the folder it points to).
  const std::size_t slash = ansi::FindLastBackslash(productFolder);
  if (slash != std::string::npos && slash > 2) {
    const std::string chosen = productFolder.substr(0, slash);
    if (!Has(files.GetAttributes(chosen.c_str()), platform::attr::kReparsePoint)) {
      files.RemoveFolder(chosen.c_str());
    }
  }
}

void RemoveSettingsFile(platform::FileSystem& files, RemovalReport& report) {
  char appData[discovery::kPathBufferSize];
  char settingsFolder[discovery::kPathBufferSize];
  char settingsFile[discovery::kPathBufferSize];
  if (!install::FindAppDataFolder(files, appData) ||
      install::SettingsFolder(settingsFolder, appData) == discovery::kTextDidNotFit ||
      install::SettingsFile(settingsFile, appData) == discovery::kTextDidNotFit) {
    return;
  }
  if (install::GetPathKind(files, settingsFile) == install::PathIsFile &&
      RemoveOneFile(files, settingsFile, false, report)) {
    files.RemoveFolder(settingsFolder);
  }
}

}  // namespace uninstall
