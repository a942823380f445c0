#include "app/uninstall_quiet.h"

#include "uninstall/uninstall_prompts.h"
#include "uninstall/uninstall_sequence.h"

namespace app {
namespace {

// Goes on unless AutoCAD runs: the sequence asks again after telling of it, and hears No.
class QuietPrompts final : public uninstall::UninstallPrompts {
 public:
  bool ConfirmRemoval() override { return !autoCADRunning_; }
  void AutoCADRunning() override { autoCADRunning_ = true; }

 private:
  bool autoCADRunning_ = false;
};

}  // namespace

int UninstallQuietly(platform::Platform platform, const std::string& productFolder,
                     uninstall::RemovalReport& report) {
  QuietPrompts prompts;
  if (uninstall::RunUninstall(platform, productFolder, prompts, report) !=
      uninstall::UninstallEnd::Removed) {
    return kQuietRefused;
  }
  // The running uninstaller's own file is no leftover where Windows deletes it at its next
  // start.
  const bool ownFileGoes = report.uninstallerLeft.empty() || report.uninstallerGoesAtRestart;
  return report.Clean() && ownFileGoes ? kQuietRemoved : kQuietSomethingStayed;
}

}  // namespace app
