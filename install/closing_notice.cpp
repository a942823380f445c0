#include "install/closing_notice.h"

#include "discovery/text_format.h"
#include "platform/built_in_text.h"

namespace install {
namespace {

constexpr const char* kProtectionFormat =
    "未能限制安装文件夹 %s 的访问权限（%s）：这台电脑的其他用户可能更改AutoCAD加载的插件文件。";
constexpr const char* kRecordFormat =
    "未能写入安装文件夹 %s 中的安装记录（%s）：卸载时将无法分辨哪些文件是安装程序放入的。";
constexpr const char* kEntryFormat =
    "未能在Windows的“应用”中登记Zelvar批打印软件（%s），因此无法从那里卸载它。"
    "请以管理员身份重新运行SetUp.exe。";
constexpr const char* kActiveSetupFormat =
    "未能为这台电脑的其他用户登记Zelvar批打印软件（%s）：他们登录时不会得到AutoCAD的"
    "受信任位置和Zelvar的设置文件。";
constexpr const char* kEarlierFormat =
    "原先安装在 %s 的Zelvar批打印软件未能完全移除，以下内容仍在：";
constexpr const char* kEarlierKeptFormat =
    "原先的安装文件夹 %s 中有不是安装程序放入的文件或文件夹，已保留。";
constexpr std::size_t kShownLeftovers = 10;

}  // namespace

std::string FolderLeftOpenText(const std::string& folder, const std::string& errorText) {
  return discovery::FormatText(ansi::BuiltIn(kProtectionFormat), folder.c_str(),
                               errorText.c_str());
}

std::string ClosingNotice(const ClosingProblems& problems) {
  std::string text;
  const auto paragraph = [&](const std::string& part) {
    if (!text.empty()) text += "\n\n";
    text += part;
  };
  if (!problems.protectionError.empty()) {
    paragraph(FolderLeftOpenText(problems.unprotectedFolder, problems.protectionError));
  }
  if (!problems.recordError.empty()) {
    paragraph(discovery::FormatText(ansi::BuiltIn(kRecordFormat), problems.productFolder.c_str(),
                                    problems.recordError.c_str()));
  }
  if (!problems.entryError.empty()) {
    paragraph(discovery::FormatText(ansi::BuiltIn(kEntryFormat), problems.entryError.c_str()));
  }
  if (!problems.activeSetupError.empty()) {
    paragraph(
        discovery::FormatText(ansi::BuiltIn(kActiveSetupFormat), problems.activeSetupError.c_str()));
  }
  if (!problems.earlierLeftovers.empty()) {
    std::string part =
        discovery::FormatText(ansi::BuiltIn(kEarlierFormat), problems.earlierFolder.c_str());
    for (std::size_t k = 0; k < problems.earlierLeftovers.size() && k < kShownLeftovers; ++k) {
      part += '\n';
      part += problems.earlierLeftovers[k];
    }
    if (problems.earlierLeftovers.size() > kShownLeftovers) part += ansi::BuiltIn("\n……");
    paragraph(part);
  }
  if (!problems.earlierKeptFolder.empty()) {
    paragraph(discovery::FormatText(ansi::BuiltIn(kEarlierKeptFormat),
                                    problems.earlierKeptFolder.c_str()));
  }
  return text;
}

}  // namespace install
