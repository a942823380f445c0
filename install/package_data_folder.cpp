// Where the package's files are read from, and the two small file checks the installation
// makes before it writes over a file.

#include "install/package_data_folder.h"

#include <string_view>

#include "platform/ansi_text.h"

namespace install {
namespace {

// GetModuleFileNameA is given this many characters for the program's own path.
constexpr std::uint32_t kModulePathBufferSize = 261;

// The folder that holds the running program; false when the program's path is unknown, did
// not fit the buffer (a cut path would name some other folder), or holds no folder at all.
bool FindProgramFolder(platform::FileSystem& files, std::string& programFolder) {
  char modulePath[kModulePathBufferSize] = {};
  const std::uint32_t length = files.GetModulePath(modulePath, kModulePathBufferSize);
  if (length == 0 || length >= kModulePathBufferSize) {
    return false;
  }
  const std::string_view path(modulePath, length);
  const std::size_t lastBackslash = ansi::FindLastBackslash(path);
  if (lastBackslash == std::string_view::npos) {
    return false;
  }
  programFolder.assign(path.substr(0, lastBackslash));
  return true;
}

}  // namespace

bool FindPackageDataFolder(platform::Platform platform, PackagePrompts& prompts,
                           std::string& folder) {
  std::string programFolder;
  if (FindProgramFolder(platform.files, programFolder)) {
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
