#include "ui/logic/install_message_boxes.h"

#include "discovery/text_format.h"
#include "install/setup_messages.h"
#include "platform/built_in_text.h"
#include "registration/per_user_notice.h"

namespace ui {
namespace {

namespace mb = platform::mb;

constexpr const char* kCloseAutoCADText = "请关闭AutoCAD后再进行安装 !";
constexpr const char* kInvalidFolderText = "安装路径无效，请重新选择安装路径 !";
constexpr const char* kCopyFailedFormat =
    "拷贝文件 %s 失败，可能原因如下：\n\n1、AutoCAD未关闭\n\n2、系统权限未开放，请以管理者权限登陆系统";

}  // namespace

int InstallMessageBoxes::Show(const char* text, std::uint32_t flags) {
  return boxes_.Show(owner_, text, ansi::BuiltIn(install::kSetupCaption), flags);
}

void InstallMessageBoxes::PackageMissing() {
  Show(ansi::BuiltIn(install::kDataFolderMissingText), mb::kOk);
}

install::CopyFailedAnswer InstallMessageBoxes::CopyFailed(const std::string& shownPath) {
  const std::string text =
      discovery::FormatText(ansi::BuiltIn(kCopyFailedFormat), shownPath.c_str());
  switch (Show(text.c_str(), mb::kAbortRetryIgnore)) {
    case mb::kIdAbort:
      return install::CopyFailedAnswer::Abort;
    case mb::kIdIgnore:
      return install::CopyFailedAnswer::Ignore;
    default:
      return install::CopyFailedAnswer::Retry;
  }
}

void InstallMessageBoxes::Registered(const registration::RegistrationOutcome& outcome) {
  const std::string notice = registration::PerUserNotice(outcome);
  if (!notice.empty()) Show(notice.c_str(), registration::PerUserNoticeFlags(outcome));
}

void InstallMessageBoxes::Closing(const install::ClosingProblems& problems) {
  if (problems.Any()) {
    Show(install::ClosingNotice(problems).c_str(), mb::kOk | mb::kIconExclamation);
  }
}

void InstallMessageBoxes::AutoCADRunning() { Show(ansi::BuiltIn(kCloseAutoCADText), mb::kOk); }

void InstallMessageBoxes::InvalidFolder() { Show(ansi::BuiltIn(kInvalidFolderText), mb::kOk); }

}  // namespace ui
