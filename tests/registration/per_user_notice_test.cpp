#include "registration/per_user_notice.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/message_boxes.h"

namespace registration {
namespace {

constexpr std::uint32_t kInformation = platform::mb::kOk | 0x40;  // MB_ICONINFORMATION
constexpr std::uint32_t kWarning = platform::mb::kOk | platform::mb::kIconExclamation;

ReleaseOutcome PerUser() { return ReleaseOutcome{true, false, false, false}; }

TEST(PerUserNotice, SaysWhomThePluginServesOrWhatIsMissingWhereAndHowToMendIt) {
  const std::string mend =
      "\n\n请先启动并关闭一次相应的AutoCAD，再重新运行SetUp.exe；"
      "或以管理员身份运行SetUp.exe重新安装。";
  struct Case {
    const char* what;
    RegistrationOutcome outcome;
    std::string text;
    std::uint32_t flags;
  };
  Case cases[] = {
      {"everything machine-wide", {}, "", kInformation},
      {"the rest went to the user", {}, "", kInformation},
      {"a lack beside per-user places", {}, "", kWarning},
      {"lacks only", {}, "", kWarning},
  };
  cases[1].outcome.releases[1] = PerUser();
  cases[1].outcome.releases[18] = PerUser();
  cases[1].text =
      "插件已安装，但仅供当前Windows用户使用。\n\n"
      "如需供本机所有用户使用，请以管理员身份运行SetUp.exe重新安装。";
  cases[2].outcome.releases[1] = ReleaseOutcome{true, false, false, true};
  cases[2].outcome.releases[3] = ReleaseOutcome{false, true, true, false};
  cases[2].outcome.releases[14] = PerUser();
  cases[2].text = "以下AutoCAD的设置未能完成：\n\n"
                  "AutoCAD 2008 缺少：PDF打印驱动\n"
                  "AutoCAD 2010 缺少：自动加载插件、字体\n"
                  "其余设置仅供当前Windows用户使用。" + mend;
  cases[3].outcome.releases[18] = ReleaseOutcome{false, true, true, true};
  cases[3].text = "以下AutoCAD的设置未能完成：\n\n"
                  "AutoCAD 2025 缺少：自动加载插件、字体、PDF打印驱动" + mend;

  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(PerUserNotice(c.outcome), c.text);
    if (!c.text.empty()) {
      EXPECT_EQ(PerUserNoticeFlags(c.outcome), c.flags);
    }
  }
  // The texts are code page 936 bytes: 插 is B2 E5, the full-width colon A3 BA.
  EXPECT_EQ(cases[1].text.substr(0, 2), "\xB2\xE5");
  EXPECT_NE(cases[2].text.find("\xA3\xBA"), std::string::npos);
}

}  // namespace
}  // namespace registration
