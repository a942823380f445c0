// Installation benchmark: the package copy of the setup (CopyPackageFiles over the real Win32
// platform) against the floor, a plain CopyFileA loop over the same files, in turn in the same
// run.
//
//   install_benchmark.exe [--files 40] [--megabytes 50] [--runs 5]
//
// The package is made in "<this program's folder>\Data", where the setup looks for it, unless
// it is there already with the sizes asked for; the copies go to two folders beside it, which
// are emptied before every copy so each one creates its files afresh. Every copy is checked
// afterwards (all files there, all bytes): a copy that failed would look fast. The setup's
// message boxes answer Ignore without a window and are counted; any of them spoils the run.

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win32/figures.h"
#include "install/package_copy.h"
#include "platform/win32/win32_platform.h"
#include "ui/logic/install_message_boxes.h"

namespace {

struct PackageFile {
  std::string name;
  std::uint64_t size = 0;
};

// The plug-in's package as the setup copies it into the product folder: the ARX modules, the
// three libraries it renames, the menu and help files, and components making up the rest.
// Sizes vary (1 to 5 parts of the whole) and add up to exactly `totalBytes`.
std::vector<PackageFile> PackageLayout(int fileCount, std::uint64_t totalBytes) {
  std::vector<std::string> names;
  for (const char* year :
       {"2008", "2010", "2013", "2015", "2017", "2018", "2019", "2021", "2025"}) {
    names.push_back(std::string("ZV_BatchPlot") + year + ".ARX");
  }
  for (const char* name : {"Zelvar.prt7", "Zelvar.prt8", "Zelvar.prt9", "ZV_BatchPlot.cuix",
                           "ZV_BatchPlot.chm", "readme.txt"}) {
    names.emplace_back(name);
  }
  for (int component = 1; static_cast<int>(names.size()) < fileCount; ++component) {
    names.push_back("ZV_Component" + std::to_string(component) + ".dll");
  }
  names.resize(static_cast<std::size_t>(fileCount));

  std::uint64_t parts = 0;
  for (int i = 0; i < fileCount; ++i) {
    parts += static_cast<std::uint64_t>(i % 5 + 1);
  }
  std::vector<PackageFile> files;
  std::uint64_t assigned = 0;
  for (int i = 0; i < fileCount; ++i) {
    const std::uint64_t size = i + 1 == fileCount
                                   ? totalBytes - assigned
                                   : totalBytes / parts * static_cast<std::uint64_t>(i % 5 + 1);
    assigned += size;
    files.push_back({names[static_cast<std::size_t>(i)], size});
  }
  return files;
}

std::uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
    return UINT64_MAX;
  }
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Closes a file handle when it goes.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  ~FileHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) {
      ::CloseHandle(handle_);
    }
  }
  HANDLE Get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Content that no layer below can shortcut: not zeros, not one repeated block per file.
bool WriteFileOfSize(const std::string& path, std::uint64_t size, std::uint32_t& seed) {
  const FileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file.Get() == INVALID_HANDLE_VALUE) {
    return false;
  }
  std::vector<std::uint32_t> block(64 * 1024);
  for (std::uint64_t written = 0; written < size;) {
    for (std::uint32_t& word : block) {
      seed = seed * 1664525u + 1013904223u;
      word = seed;
    }
    const std::uint64_t left = size - written;
    const DWORD chunk = static_cast<DWORD>(
        left < block.size() * sizeof(std::uint32_t) ? left : block.size() * sizeof(std::uint32_t));
    DWORD done = 0;
    if (!::WriteFile(file.Get(), block.data(), chunk, &done, nullptr) || done != chunk) {
      return false;
    }
    written += chunk;
  }
  return true;
}

bool MakePackage(const std::string& dataFolder, const std::vector<PackageFile>& package) {
  ::CreateDirectoryA(dataFolder.c_str(), nullptr);
  std::uint32_t seed = 20250101u;
  for (const PackageFile& file : package) {
    const std::string path = dataFolder + "\\" + file.name;
    if (FileSize(path) == file.size) {
      continue;
    }
    if (!WriteFileOfSize(path, file.size, seed)) {
      std::fprintf(stderr, "install_benchmark: cannot write %s\n", path.c_str());
      return false;
    }
  }
  return true;
}

// Every file of `folder` removed, and the folder itself: the next copy starts from nothing.
void RemoveFolder(const std::string& folder) {
  WIN32_FIND_DATAA entry{};
  const HANDLE listing = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (listing != INVALID_HANDLE_VALUE) {
    do {
      const std::string path = folder + "\\" + entry.cFileName;
      if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileA(path.c_str());
      }
    } while (::FindNextFileA(listing, &entry));
    ::FindClose(listing);
  }
  ::RemoveDirectoryA(folder.c_str());
}

// True when `folder` holds exactly `fileCount` files of `totalBytes` bytes together.
bool HoldsWholePackage(const std::string& folder, std::size_t fileCount, std::uint64_t totalBytes) {
  std::size_t count = 0;
  std::uint64_t bytes = 0;
  WIN32_FIND_DATAA entry{};
  const HANDLE listing = ::FindFirstFileA((folder + "\\*").c_str(), &entry);
  if (listing == INVALID_HANDLE_VALUE) {
    return false;
  }
  do {
    // The setup's record of what it installed is no package file.
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        lstrcmpiA(entry.cFileName, install::kInstallRecordName) != 0) {
      ++count;
      bytes += (static_cast<std::uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
    }
  } while (::FindNextFileA(listing, &entry));
  ::FindClose(listing);
  return count == fileCount && bytes == totalBytes;
}

// The progress bar of the dialog, which the benchmark has not got.
class NoProgress final : public install::ProgressSteps {
 public:
  void StepIt() override {}
};

// Every message box answered Ignore at once, and counted.
class IgnoringMessageBoxes final : public platform::MessageBoxes {
 public:
  int Show(platform::WindowRef /*owner*/, const char* text, const char* /*caption*/,
           std::uint32_t /*flags*/) override {
    std::fprintf(stderr, "install_benchmark: the setup asked: %s\n", text);
    ++shown;
    return platform::mb::kIdIgnore;
  }
  int shown = 0;
};

bool SetupCopy(const std::string& target, double& ms) {
  platform::Win32Platform machine;
  IgnoringMessageBoxes messages;
  const platform::Platform platform = machine.Get();
  NoProgress progress;
  const install::PackageCopyJob job(target, progress);
  const bench::Stopwatch clock;
  install::PackageCopyOutcome outcome;
  ui::InstallMessageBoxes prompts(messages, 0);
  const bool copied = install::CopyPackageFiles(platform, prompts, job, outcome);
  ms = clock.ElapsedMs();
  return copied && messages.shown == 0;
}

bool PlainCopy(const std::string& dataFolder, const std::vector<PackageFile>& package,
               const std::string& target, double& ms) {
  const bench::Stopwatch clock;
  ::CreateDirectoryA(target.c_str(), nullptr);
  for (const PackageFile& file : package) {
    if (!::CopyFileA((dataFolder + "\\" + file.name).c_str(), (target + "\\" + file.name).c_str(),
                     FALSE)) {
      return false;
    }
  }
  ms = clock.ElapsedMs();
  return true;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length);
  return folder.substr(0, folder.find_last_of('\\'));
}

}  // namespace

int main(int argc, char** argv) {
  int fileCount = 40;
  int megabytes = 50;
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const int number = std::atoi(argv[i + 1]);
    if (option == "--files") {
      fileCount = number;
    } else if (option == "--megabytes") {
      megabytes = number;
    } else if (option == "--runs") {
      runs = number;
    }
  }
  if (fileCount < 1 || megabytes < 1 || runs < 1) {
    std::fprintf(stderr, "usage: install_benchmark [--files N] [--megabytes N] [--runs N]\n");
    return 2;
  }

  const std::uint64_t totalBytes = static_cast<std::uint64_t>(megabytes) * 1024 * 1024;
  const std::vector<PackageFile> package = PackageLayout(fileCount, totalBytes);
  const std::string folder = ProgramFolder();
  const std::string dataFolder = folder + "\\Data";
  const std::string setupTarget = folder + "\\installed-by-setup";
  const std::string plainTarget = folder + "\\installed-by-copyfile";
  if (!MakePackage(dataFolder, package)) {
    return 1;
  }

  std::vector<double> setupMs;
  std::vector<double> plainMs;
  // Run 0 is not counted: it brings the package into the page cache for both.
  for (int run = 0; run <= runs; ++run) {
    for (int turn = 0; turn < 2; ++turn) {
      // Taking turns in both orders, so neither copy always follows the other.
      const bool setupTurn = (run + turn) % 2 == 0;
      const std::string& target = setupTurn ? setupTarget : plainTarget;
      RemoveFolder(target);
      double ms = 0;
      const bool copied =
          setupTurn ? SetupCopy(target, ms) : PlainCopy(dataFolder, package, target, ms);
      if (!copied || !HoldsWholePackage(target, package.size(), totalBytes)) {
        std::fprintf(stderr, "install_benchmark: the %s did not copy the whole package into %s\n",
                     setupTurn ? "setup" : "plain copy", target.c_str());
        return 1;
      }
      if (run > 0) {
        (setupTurn ? setupMs : plainMs).push_back(ms);
      }
    }
  }
  RemoveFolder(setupTarget);
  RemoveFolder(plainTarget);

  const bench::Summary plain = bench::Summarise(plainMs);
  const bench::Summary setup = bench::Summarise(setupMs);
  std::printf("package copy of %d files, %d MB, %d copies each (after one not counted)\n",
              fileCount, megabytes, runs);
  std::printf("  floor   CopyFileA loop\n          ");
  bench::PrintSummary(plain);
  std::printf(", %.0f MB/s\n  program CopyPackageFiles over the Win32 platform\n          ",
              megabytes * 1000.0 / plain.median);
  bench::PrintSummary(setup);
  std::printf(", %.0f MB/s\n  ratio   %.2f (program median / floor median)\n",
              megabytes * 1000.0 / setup.median, setup.median / plain.median);
  return 0;
}
