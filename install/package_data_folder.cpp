// Where the package's files are read from, and the two small file checks the installation
// makes before it writes over a file.

#include "install/package_data_folder.h"

#include "platform/program_folder.h"

namespace install {

bool FindPackageDataFolder(platform::Platform platform, PackagePrompts& prompts,
                           std::string& folder) {
  std::string programFolder;
  if (platform::OwnProgramFolder(platform.files, programFolder)) {
    folder = programFolder;
    folder += "\\Data";
    if (GetPathKind(platform.files, folder) == PathIsFolder) {
      return true;
    }
    // A distribution unpacked without its Data level: the modules lie beside the program.
    folder = programFolder;
    folder += "\\ZV_BatchPlot2010.arx";
    if (GetPathKind(platform.files, folder) == PathIsFile) {
      folder = programFolder;
      return true;
    }
  }
  folder.clear();
  prompts.PackageMissing();
  return false;
}

PathKind GetPathKind(platform::FileSystem& files, const std::string& path) {
  platform::FindHandle listing;
  platform::FindData found;
  if (!files.FindFirst(path.c_str(), listing, found)) {
    return PathMissing;
  }
  return (found.attributes & platform::attr::kDirectory) != 0 ? PathIsFolder : PathIsFile;
}

void ClearReadOnly(platform::FileSystem& files, const std::string& path) {
  const std::uint32_t attributes = files.GetAttributes(path.c_str());
  if (attributes == platform::attr::kInvalid || (attributes & platform::attr::kReadOnly) == 0) {
    return;
  }
  files.SetAttributes(path.c_str(), attributes & ~platform::attr::kReadOnly);
}

}  // namespace install
