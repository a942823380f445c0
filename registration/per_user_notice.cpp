#include "registration/per_user_notice.h"

#include <utility>

#include "platform/built_in_text.h"
#include "platform/message_boxes.h"

namespace registration {
namespace {

constexpr std::uint32_t kIconInformation = 0x40;  // MB_ICONINFORMATION

constexpr const char* kCurrentUserOnlyText =
    "插件已安装，但仅供当前Windows用户使用。\n\n"
    "如需供本机所有用户使用，请以管理员身份运行SetUp.exe重新安装。";

constexpr const char* kSomethingMissingText = "以下AutoCAD的设置未能完成：\n\n";
constexpr const char* kLoadingName = "自动加载插件";
constexpr const char* kFontsName = "字体";
constexpr const char* kDriverName = "PDF打印驱动";
constexpr const char* kNameSeparator = "、";
constexpr const char* kRestPerUserText = "\n其余设置仅供当前Windows用户使用。";
constexpr const char* kMendText =
    "\n\n请先启动并关闭一次相应的AutoCAD，再重新运行SetUp.exe；"
    "或以管理员身份运行SetUp.exe重新安装。";

// "AutoCAD 2008 缺少：字体、PDF打印驱动"
std::string LackLine(const discovery::ReleaseRow& row, const ReleaseOutcome& release) {
  std::string line = "AutoCAD ";
  line += row.yearText;
  line += ansi::BuiltIn(" 缺少：");
  bool first = true;
  for (const auto& [lacking, name] :
       {std::pair{release.loadingMissing, ansi::BuiltIn(kLoadingName)},
        std::pair{release.fontsMissing, ansi::BuiltIn(kFontsName)},
        std::pair{release.driverMissing, ansi::BuiltIn(kDriverName)}}) {
    if (!lacking) continue;
    if (!first) line += ansi::BuiltIn(kNameSeparator);
    line += name;
    first = false;
  }
  return line;
}

}  // namespace

std::string PerUserNotice(const RegistrationOutcome& outcome) {
  if (outcome.EverythingMachineWide()) {
    return {};
  }
  if (outcome.EverythingPlaced()) {
    return ansi::BuiltIn(kCurrentUserOnlyText);
  }
  std::string text = ansi::BuiltIn(kSomethingMissingText);
  bool anyPerUser = false;
  for (const discovery::ReleaseRow& row : discovery::kReleaseTable) {
    const ReleaseOutcome& release = outcome.releases[static_cast<std::size_t>(row.releaseIndex)];
    anyPerUser = anyPerUser || release.perUser;
    if (!release.Lacks()) continue;
    text += LackLine(row, release);
    text += '\n';
  }
  text.pop_back();  // the last line's break
  if (anyPerUser) text += ansi::BuiltIn(kRestPerUserText);
  text += ansi::BuiltIn(kMendText);
  return text;
}

std::uint32_t PerUserNoticeFlags(const RegistrationOutcome& outcome) {
  return platform::mb::kOk |
         (outcome.EverythingPlaced() ? kIconInformation : platform::mb::kIconExclamation);
}

}  // namespace registration
