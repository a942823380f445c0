#include "install/package_copy.h"

#include <array>
#include <cstring>
#include <string_view>
#include <vector>

#include "discovery/text_format.h"
#include "install/owned_places.h"
#include "install/package_data_folder.h"
#include "install/product_folder.h"
#include "platform/ansi_text.h"

namespace install {
namespace {

using discovery::FormatPath;
using discovery::FormatText;
using discovery::kPathBufferSize;
using discovery::kTextDidNotFit;

// Package entries that are not copied into the product folder: the setup itself, and the
// fonts and plot driver, which go into the AutoCAD installations instead.
constexpr std::array<std::string_view, 4> kNotCopied{"SetUp.EXE", "Zelvar_EN.shx",
                                                     "Zelvar_HZ.shx", "Zelvar.prt5"};

// Package files stored under neutral names that are installed under their library names.
struct Renaming {
  std::string_view packageName;
  const char* installedName;
};
constexpr std::array<Renaming, 3> kRenamings{{{"Zelvar.prt7", "itextsharp.dll"},
                                              {"Zelvar.prt8", "PdfSharp.Charting.dll"},
                                              {"Zelvar.prt9", "PdfSharp.dll"}}};

// The longest path the ANSI file functions take, in characters.
constexpr std::size_t kMaxPathChars = kPathBufferSize - 1;

bool IsNotCopied(std::string_view name) {
  for (const std::string_view skipped : kNotCopied) {
    if (ansi::EqualsNoCase(name, skipped)) {
      return true;
    }
  }
  // A package file of the record's name would overwrite what the product folder knows of
  // itself.
  return ansi::EqualsNoCase(name, kInstallRecordName);
}

const char* InstalledLibraryName(std::string_view name) {
  for (const Renaming& renaming : kRenamings) {
    if (ansi::EqualsNoCase(name, renaming.packageName)) {
      return renaming.installedName;
    }
  }
  return nullptr;
}

// Where a package file is installed; empty when its folder cannot be formed, which makes the
// copy fail and be reported. `shownPath` is the name the failure prompt gives the copy;
// `recordedName` the name in the product folder, empty for the settings file's copy in the
// user's folder.
struct Destination {
  std::string path;
  std::string shownPath;
  std::string recordedName;
};

Destination InProductFolder(const std::string& productFolder, const char* installedName) {
  std::string path = FormatText("%s\\%s", productFolder.c_str(), installedName);
  return {path, path, installedName};
}

Destination InSettingsFolder(platform::FileSystem& files, const std::string& name) {
  char appData[kPathBufferSize];
  char userFolder[kPathBufferSize];
  if (!FindAppDataFolder(files, appData) ||
      SettingsFolder(userFolder, appData) == kTextDidNotFit) {
    return {std::string(), FormatText("%%APPDATA%%\\%s\\%s", kSettingsFolderName, name.c_str()),
            ""};
  }
  files.CreateFolder(userFolder);
  std::string path = FormatText("%s\\%s", userFolder, name.c_str());
  return {path, path, ""};
}

// The settings file goes to the user who runs the setup, and under its template's name into
// the product folder, from which the other users of the machine get theirs at their logon.
std::vector<Destination> DestinationsOf(platform::FileSystem& files,
                                        const std::string& productFolder,
                                        const std::string& name) {
  if (const char* library = InstalledLibraryName(name)) {
    return {InProductFolder(productFolder, library)};
  }
  if (ansi::EqualsNoCase(name, kSettingsFileName)) {
    return {InSettingsFolder(files, name), InProductFolder(productFolder, kSettingsTemplateName)};
  }
  return {InProductFolder(productFolder, name.c_str())};
}

bool Fits(const std::string& path) { return !path.empty() && path.size() <= kMaxPathChars; }

enum class CopyOutcome { Copied, Ignored, Aborted };

// The pieces of a large file, told to the progress bar's view.
class PartsToProgress final : public platform::CopyProgress {
 public:
  explicit PartsToProgress(ProgressSteps& progress) : progress_(progress) {}
  void OnPartCopied() override { progress_.BetweenParts(); }

 private:
  ProgressSteps& progress_;
};

// One package file, asked about after each failure until it is copied, ignored or aborted.
// A path too long for the file functions is a failed copy, never a cut one.
CopyOutcome CopyOneFile(platform::Platform platform, PackagePrompts& prompts,
                        const std::string& source, const Destination& destination,
                        ProgressSteps& progress) {
  const bool fits = Fits(source) && Fits(destination.path);
  if (fits) {
    ClearReadOnly(platform.files, source);
    ClearReadOnly(platform.files, destination.path);
  }
  CopyOutcome outcome = CopyOutcome::Copied;
  PartsToProgress parts(progress);
  while (!(fits && platform.files.CopyReporting(source.c_str(), destination.path.c_str(), false,
                                                parts))) {
    const CopyFailedAnswer answer = prompts.CopyFailed(destination.shownPath);
    if (answer == CopyFailedAnswer::Abort) {
      return CopyOutcome::Aborted;
    }
    if (answer == CopyFailedAnswer::Ignore) {
      outcome = CopyOutcome::Ignored;
      break;
    }
  }
  if (fits) {
    // The copy took the source's attributes; the installed file stays writable.
    ClearReadOnly(platform.files, destination.path);
  }
  if (outcome == CopyOutcome::Copied) {
    // CopyFileA took the download's mark along; Windows would warn again at every start of
    // the uninstaller, and .NET refuses to load a marked library.
    platform.files.RemoveStream(destination.path.c_str(), kDownloadMarkStream);
  }
  return outcome;
}

// The product folder, with any folder above it that is missing, closed to other users; so is
// every level made here above it (see FolderLeftOpen). Levels that were there are not ours to
// change.
void MakeProductFolder(platform::Platform platform, const std::string& productFolder,
                       PackageCopyOutcome& outcome) {
  std::vector<std::string> closed;
  if (!MakeFolderLevels(platform.files, productFolder, &closed)) {
    return;  // every copy into it then fails and is reported
  }
  if (closed.empty() || closed.back() != productFolder) closed.push_back(productFolder);
  const FolderLeftOpen open =
      CloseFolders(platform.files, closed, AccessOfMadeFolders(platform.processes));
  outcome.unprotectedFolder = open.folder;
  outcome.protectionError = open.error;
}

void Record(platform::FileSystem& files, const std::string& productFolder,
            PackageCopyOutcome& outcome) {
  if (!WriteInstallRecord(files, productFolder, outcome.record) && outcome.recordError == 0) {
    outcome.recordError = files.LastError();
  }
}

// An earlier installation's file that this package no longer has: removed where the record's
// entry still leads to a file of the product folder itself, otherwise left (and kept in the
// record, so the uninstaller still knows of it).
void RemoveLeftOver(platform::FileSystem& files, const std::string& productFolder,
                    const std::string& name, InstallRecord& record) {
  const std::string path = productFolder + "\\" + name;
  if (!ReachedWithoutLinks(files, productFolder, name)) return;
  const std::uint32_t attributes = files.GetAttributes(path.c_str());
  if (attributes != platform::attr::kInvalid &&
      (attributes & (platform::attr::kDirectory | platform::attr::kReparsePoint)) != 0) {
    return;
  }
  ClearReadOnly(files, path);
  if (attributes == platform::attr::kInvalid || files.RemoveFile(path.c_str())) {
    record.Remove(name);
  }
}

}  // namespace

bool FindAppDataFolder(platform::FileSystem& files, char (&folder)[kPathBufferSize]) {
  std::memset(folder, 0, sizeof folder);
  const std::uint32_t length = files.GetEnvironment("APPDATA", folder, kPathBufferSize);
  if (length > 0 && length < kPathBufferSize) {
    return true;
  }
  std::memset(folder, 0, sizeof folder);
  return files.GetAppDataFolder(folder) && folder[0] != '\0';
}

PackageCopyJob::PackageCopyJob(std::string productFolder, ProgressSteps& progressBar)
    : targetFolder(ansi::StripTrailingBackslash(productFolder)), progress(progressBar) {}

bool CopyPackageFiles(platform::Platform platform, PackagePrompts& prompts,
                      const PackageCopyJob& job, PackageCopyOutcome& outcome) {
  std::string dataFolder;
  if (!FindPackageDataFolder(platform, prompts, dataFolder)) {
    outcome.packageMissing = true;
    return false;
  }

  // A data folder that was found but cannot be listed (a pattern too long for the file
  // functions, a broken junction, a lost share, no right to list it) holds nothing the
  // setup can install: going on would register modules that are not there and call that a
  // success. Every listable folder has at least "." and "..", or at a drive root the module
  // file it was recognised by, so a failed listing is never an empty one.
  char pattern[kPathBufferSize] = {};
  platform::FindHandle listing;
  platform::FindData entry;
  if (FormatPath(pattern, "%s\\*.*", dataFolder.c_str()) == kTextDidNotFit ||
      !platform.files.FindFirst(pattern, listing, entry)) {
    prompts.PackageMissing();
    outcome.packageMissing = true;
    return false;
  }
  // Only now, with a package to install, is anything made. A product folder too long for the
  // file functions is not created; every copy into it is then reported as failed.
  char productFolder[kPathBufferSize] = {};
  if (FormatPath(productFolder, "%s", job.targetFolder.c_str()) != kTextDidNotFit) {
    MakeProductFolder(platform, productFolder, outcome);
  }
  const RecordReading earlier = ReadInstallRecord(platform.files, job.targetFolder);
  outcome.record = earlier.record;
  InstallRecord packaged;
  for (bool first = true;; first = false) {
    job.progress.StepIt();
    if (!first && !platform.files.FindNext(listing, entry)) {
      break;
    }
    if (entry.fileName == "." || entry.fileName == ".." ||
        (entry.attributes & platform::attr::kDirectory) != 0 || IsNotCopied(entry.fileName)) {
      continue;
    }
    const std::string source = FormatText("%s\\%s", dataFolder.c_str(), entry.fileName.c_str());
    for (const Destination& destination :
         DestinationsOf(platform.files, job.targetFolder, entry.fileName)) {
      if (!destination.recordedName.empty()) packaged.Add(destination.recordedName);
      const CopyOutcome copied = CopyOneFile(platform, prompts, source, destination, job.progress);
      if (copied == CopyOutcome::Aborted) {
        return false;
      }
      if (copied == CopyOutcome::Copied && !destination.recordedName.empty() &&
          !outcome.record.Has(destination.recordedName)) {
        outcome.record.Add(destination.recordedName);
        Record(platform.files, job.targetFolder, outcome);
      }
    }
  }
  const std::vector<std::string> recorded = outcome.record.files;
  for (const std::string& name : recorded) {
    if (!packaged.Has(name)) RemoveLeftOver(platform.files, job.targetFolder, name, outcome.record);
  }
  if (outcome.record.files != recorded || earlier.state == RecordState::Unreadable) {
    Record(platform.files, job.targetFolder, outcome);
  }
  return true;
}

}  // namespace install
