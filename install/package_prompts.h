#pragma once

#include <string>

namespace install {

// What the package copy does after a file could not be copied.
enum class CopyFailedAnswer { Retry, Ignore, Abort };

// The questions and notices of the package copy, put to whoever runs it: the setup's dialog
// answers with message boxes, a program without a window from what it was told.
class PackagePrompts {
 public:
  virtual ~PackagePrompts() = default;
  // The package's data files are not beside the program, or their folder cannot be listed.
  virtual void PackageMissing() = 0;
  // The file `shownPath` could not be copied: try again, go on without it, or stop.
  virtual CopyFailedAnswer CopyFailed(const std::string& shownPath) = 0;
};

}  // namespace install
