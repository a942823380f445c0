#pragma once

#include "install/install_prompts.h"
#include "platform/message_boxes.h"

namespace ui {

// The setup dialog's answers to the installation: message boxes owned by the dialog, captioned
// "Zelvar软件安装", with the texts and buttons the setup has always shown.
class InstallMessageBoxes final : public install::InstallPrompts {
 public:
  InstallMessageBoxes(platform::MessageBoxes& boxes, platform::WindowRef owner)
      : boxes_(boxes), owner_(owner) {}

  void PackageMissing() override;
  // Abort / Retry / Ignore; any answer but Abort and Ignore tries again.
  install::CopyFailedAnswer CopyFailed(const std::string& shownPath) override;
  // The per-user notice, where there is one.
  void Registered(const registration::RegistrationOutcome& outcome) override;
  // The closing notice, where something went wrong.
  void Closing(const install::ClosingProblems& problems) override;

  // The dialog's own two, before anything is installed.
  void AutoCADRunning();
  void InvalidFolder();

 private:
  int Show(const char* text, std::uint32_t flags);

  platform::MessageBoxes& boxes_;
  platform::WindowRef owner_;
};

}  // namespace ui
