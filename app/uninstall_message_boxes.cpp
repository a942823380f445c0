#include "app/uninstall_message_boxes.h"

#include "platform/built_in_text.h"
#include "uninstall/uninstall_messages.h"

namespace app {
namespace {

namespace mb = platform::mb;
using uninstall::UninstallEnd;

}  // namespace

int UninstallMessageBoxes::Show(const char* text, std::uint32_t flags) {
  return boxes_.Show(0, text, ansi::BuiltIn(uninstall::kUninstallCaption), flags);
}

bool UninstallMessageBoxes::ConfirmRemoval() {
  return Show(ansi::BuiltIn(uninstall::kConfirmText), mb::kYesNo | mb::kIconQuestion) ==
         mb::kIdYes;
}

void UninstallMessageBoxes::AutoCADRunning() {
  Show(ansi::BuiltIn(uninstall::kCloseAutoCADText), mb::kOk);
}

void UninstallMessageBoxes::TellEnd(UninstallEnd end, const uninstall::RemovalReport& report) {
  switch (end) {
    case UninstallEnd::NotProductFolder:
      Show(ansi::BuiltIn(uninstall::kNotProductFolderText), mb::kOk);
      return;
    case UninstallEnd::NoEntry:
      Show(ansi::BuiltIn(uninstall::kNoEntryText), mb::kOk);
      return;
    case UninstallEnd::NeedsAdministrator:
      Show(ansi::BuiltIn(uninstall::kNeedsAdministratorText), mb::kOk | mb::kIconExclamation);
      return;
    case UninstallEnd::Declined:
      return;
    case UninstallEnd::Removed: {
      const bool plain = report.Clean() && !report.HasNotes();
      Show(uninstall::FinalMessage(report).c_str(),
           plain ? mb::kOk : mb::kOk | mb::kIconExclamation);
      return;
    }
  }
}

bool UninstallWithMessageBoxes(platform::Platform platform, platform::MessageBoxes& messages,
                               const std::string& productFolder,
                               uninstall::RemovalReport& report) {
  UninstallMessageBoxes prompts(messages);
  const UninstallEnd end = uninstall::RunUninstall(platform, productFolder, prompts, report);
  prompts.TellEnd(end, report);
  return end == UninstallEnd::Removed;
}

}  // namespace app
