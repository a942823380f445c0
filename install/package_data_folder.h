#pragma once

#include <string>

#include "install/package_prompts.h"
#include "platform/platform.h"

namespace install {

// What a path names, as FindFirstFileA sees it.
enum PathKind { PathMissing = 0, PathIsFile = 1, PathIsFolder = 2 };

// The package's data files: "<program folder>\Data", or the program folder itself when
// "ZV_BatchPlot2010.arx" lies beside the program. False once `prompts` has been told that the
// package is missing; `folder` is then not meaningful. A program path
// that does not fit its buffer counts as a missing data folder: a cut path is never used.
bool FindPackageDataFolder(platform::Platform platform, PackagePrompts& prompts,
                           std::string& folder);

PathKind GetPathKind(platform::FileSystem& files, const std::string& path);

// Removes the read-only attribute of a file and keeps its other attributes; silent.
void ClearReadOnly(platform::FileSystem& files, const std::string& path);

}  // namespace install
