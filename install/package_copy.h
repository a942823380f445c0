#pragma once

#include <string>

#include "install/installation_record.h"
#include "install/package_prompts.h"
#include "platform/platform.h"

namespace install {

// The progress bar the installation steps (PBM_STEPIT), seen from the logic.
class ProgressSteps {
 public:
  virtual ~ProgressSteps() = default;
  virtual void StepIt() = 0;
  // Between the pieces of one large file, while the bar stays where it is: a window can take
  // its messages here. A view that shows nothing has nothing to do.
  virtual void BetweenParts() {}
};

// What the package copy works on: the product folder, without one trailing backslash, and the
// dialog's progress bar, which it steps once per listing entry and tells of every part of a
// file copied.
struct PackageCopyJob {
  PackageCopyJob(std::string productFolder, ProgressSteps& progressBar);

  std::string targetFolder;
  ProgressSteps& progress;
};

// What the package copy leaves behind, beside the files.
struct PackageCopyOutcome {
  // The files of the product folder that the setup put there, as its record now holds them.
  InstallRecord record;
  // Where SetNamedSecurityInfoA refused a folder its protected DACL (the product folder, or a
  // folder made above it): the first such folder and the error.
  std::string unprotectedFolder;
  std::uint32_t protectionError = 0;
  // Where the record could not be written after a copy: the error.
  std::uint32_t recordError = 0;
  // The copy stopped because there was no package to copy, not by the answer to a failure.
  bool packageMissing = false;
};

// Copies the package's data files flat into the product folder: the setup itself and the
// files AutoCAD receives elsewhere are passed over, three libraries get their own names, and
// the settings file goes to the user's folder and, as its template, into the product folder. A failed copy asks `prompts` whether to retry,
// ignore or abort. False when the data folder is missing (`prompts` has been told, and nothing
// has been made) or the answer was Abort; files copied until then stay.
//
// The product folder (with any missing folder above it) is made only once the data folder is
// found, and given a protected DACL before anything is copied into it: machine-wide (Users
// read and execute) when this process has administrator rights, else for the current user
// alone, so no other user can change what AutoCAD loads. Every copied file loses the mark of
// the download it came from. The record of installed files is written after every copy; once
// the copy has run through, files an earlier installation recorded that this package no
// longer has are removed.
bool CopyPackageFiles(platform::Platform platform, PackagePrompts& prompts,
                      const PackageCopyJob& job, PackageCopyOutcome& outcome);

// The alternate data stream in which Windows marks a file that came from the internet.
inline constexpr const char* kDownloadMarkStream = "Zone.Identifier";

// The user's application-data folder: APPDATA when it is set and fits its buffer, otherwise
// the folder the shell keeps for it. An unset APPDATA must not put the settings at the root
// of a drive. False when neither gives a folder.
bool FindAppDataFolder(platform::FileSystem& files, char (&folder)[platform::kMaxPath]);

}  // namespace install
