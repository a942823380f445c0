#pragma once

#include <string>

#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "uninstall/removal_report.h"
#include "uninstall/uninstall_sequence.h"

namespace app {

// UnInstall.exe's side of the uninstallation: message boxes without an owner, captioned
// "Zelvar软件卸载", with the texts and buttons the uninstaller has always shown.
class UninstallMessageBoxes final : public uninstall::UninstallPrompts {
 public:
  explicit UninstallMessageBoxes(platform::MessageBoxes& boxes) : boxes_(boxes) {}

  bool ConfirmRemoval() override;
  void AutoCADRunning() override;
  // The refusal, or the final message of the removals; nothing once the user said No.
  void TellEnd(uninstall::UninstallEnd end, const uninstall::RemovalReport& report);

 private:
  int Show(const char* text, std::uint32_t flags);

  platform::MessageBoxes& boxes_;
};

// The uninstallation as UnInstall.exe runs it, told in message boxes. True when the removals
// ran (whatever stayed); `report` says what stayed.
bool UninstallWithMessageBoxes(platform::Platform platform, platform::MessageBoxes& messages,
                               const std::string& productFolder,
                               uninstall::RemovalReport& report);

}  // namespace app
