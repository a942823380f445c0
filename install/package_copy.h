#pragma once

#include <string>

#include "platform/platform.h"

namespace install {

// The progress bar the installation steps (PBM_STEPIT), seen from the logic.
class ProgressSteps {
 public:
  virtual ~ProgressSteps() = default;
  virtual void StepIt() = 0;
};

// What the package copy works on: the product folder, without one trailing backslash, and the
// dialog's progress bar, which it steps once per listing entry.
struct PackageCopyJob {
  PackageCopyJob(std::string productFolder, ProgressSteps& progressBar);

  std::string targetFolder;
  ProgressSteps& progress;
};

// Copies the package's data files flat into the product folder: the setup itself and the
// files AutoCAD receives elsewhere are passed over, three libraries get their own names, and
// the settings file goes to the user's folder. A failed copy asks Abort / Retry / Ignore
// (owned by `owner`). False when the data folder is missing (its message has been shown) or
// the user chose Abort; files copied until then stay.
bool CopyPackageFiles(platform::Platform platform, platform::WindowRef owner,
                      const PackageCopyJob& job);

// The settings file, which the copy puts into "%APPDATA%\Zelvar" instead.
inline constexpr const char* kSettingsFileName = "Zelvar.Ini";

// The user's application-data folder: APPDATA when it is set and fits its buffer, otherwise
// the folder the shell keeps for it. An unset APPDATA must not put the settings at the root
// of a drive. False when neither gives a folder.
bool FindAppDataFolder(platform::FileSystem& files, char (&folder)[platform::kMaxPath]);

}  // namespace install
