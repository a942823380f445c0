#include "install/package_copy.h"

#include <array>
#include <cstring>
#include <string_view>

#include "discovery/text_format.h"
#include "install/package_data_folder.h"
#include "install/setup_messages.h"
#include "platform/ansi_text.h"

namespace install {
namespace {

using discovery::FormatPath;
using discovery::FormatText;
using discovery::kPathBufferSize;
using discovery::kTextDidNotFit;

constexpr const char* kCopyFailedFormat =
    "拷贝文件 %s 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";

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
  return false;
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
// copy fail and be reported. `shownPath` is the name the failure prompt gives the copy.
struct Destination {
  std::string path;
  std::string shownPath;
};

Destination DestinationOf(platform::FileSystem& files, const std::string& productFolder,
                          const std::string& name) {
  if (const char* library = InstalledLibraryName(name)) {
    std::string path = productFolder;
    path += '\\';
    path += library;
    return {path, path};
  }
  if (ansi::EqualsNoCase(name, kSettingsFileName)) {
    char appData[kPathBufferSize];
    char userFolder[kPathBufferSize];
    if (!FindAppDataFolder(files, appData) ||
        FormatPath(userFolder, "%s\\Zelvar", appData) == kTextDidNotFit) {
      return {std::string(), FormatText("%%APPDATA%%\\Zelvar\\%s", name.c_str())};
    }
    files.CreateFolder(userFolder);
    std::string path = FormatText("%s\\%s", userFolder, name.c_str());
    return {path, path};
  }
  std::string path = FormatText("%s\\%s", productFolder.c_str(), name.c_str());
  return {path, path};
}

bool Fits(const std::string& path) { return !path.empty() && path.size() <= kMaxPathChars; }

enum class CopyOutcome { Copied, Ignored, Aborted };

// One package file, with the failure prompt until it is copied, ignored or the user aborts.
// A path too long for the file functions is a failed copy, never a cut one.
CopyOutcome CopyOneFile(platform::Platform platform, platform::WindowRef owner,
                        const std::string& source, const Destination& destination) {
  const bool fits = Fits(source) && Fits(destination.path);
  if (fits) {
    ClearReadOnly(platform.files, source);
    ClearReadOnly(platform.files, destination.path);
  }
  CopyOutcome outcome = CopyOutcome::Copied;
  while (!(fits && platform.files.Copy(source.c_str(), destination.path.c_str(), false))) {
    const std::string text = FormatText(kCopyFailedFormat, destination.shownPath.c_str());
    const int answer =
        platform.messages.Show(owner, text.c_str(), kSetupCaption, platform::mb::kAbortRetryIgnore);
    if (answer == platform::mb::kIdAbort) {
      return CopyOutcome::Aborted;
    }
    if (answer == platform::mb::kIdIgnore) {
      outcome = CopyOutcome::Ignored;
      break;
    }
  }
  if (fits) {
    // The copy took the source's attributes; the installed file stays writable.
    ClearReadOnly(platform.files, destination.path);
  }
  return outcome;
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

bool CopyPackageFiles(platform::Platform platform, platform::WindowRef owner,
                      const PackageCopyJob& job) {
  std::string dataFolder;
  if (!FindPackageDataFolder(platform, owner, dataFolder)) {
    return false;
  }

  // A product folder too long for the file functions is not created; every copy into it is
  // then reported as failed.
  char productFolder[kPathBufferSize] = {};
  if (FormatPath(productFolder, "%s", job.targetFolder.c_str()) != kTextDidNotFit) {
    platform.files.MakeFolder(productFolder);
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
    platform.messages.Show(owner, kDataFolderMissingText, kSetupCaption, platform::mb::kOk);
    return false;
  }
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
    const Destination destination = DestinationOf(platform.files, job.targetFolder, entry.fileName);
    if (CopyOneFile(platform, owner, source, destination) == CopyOutcome::Aborted) {
      return false;
    }
  }
  return true;
}

}  // namespace install
