#include "platform/program_folder.h"

#include "platform/ansi_text.h"

namespace platform {
namespace {

// A path of kMaxPath characters and its NUL fit; anything longer comes back cut.
constexpr std::uint32_t kBufferSize = kMaxPath + 1;

}  // namespace

bool OwnProgramFile(FileSystem& files, std::string& file) {
  file.clear();
  char path[kBufferSize] = {};
  const std::uint32_t length = files.GetModulePath(path, kBufferSize);
  if (length == 0 || length >= kBufferSize) return false;
  const std::string_view whole(path, length);
  if (ansi::FindLastBackslash(whole) == std::string_view::npos) return false;
  file.assign(whole);
  return true;
}

bool OwnProgramFolder(FileSystem& files, std::string& folder) {
  if (!OwnProgramFile(files, folder)) return false;
  folder.resize(ansi::FindLastBackslash(folder));
  return true;
}

}  // namespace platform
