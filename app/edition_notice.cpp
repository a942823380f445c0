#include "app/edition_notice.h"

#include "discovery/native_view.h"
#include "install/setup_messages.h"
#include "platform/built_in_text.h"

namespace app {
namespace {

constexpr const char* kSixtyFourBitAcadText =
    "这是Zelvar批打印软件的32位版本安装程序，只能为32位的AutoCAD安装插件。\n\n"
    "本机装有64位的AutoCAD：请运行64位版本的SetUp.exe为它们安装。";

}  // namespace

void TellOfSixtyFourBitAcad(platform::Platform platform, platform::MessageBoxes& messages,
                            int setupBits) {
  if (setupBits != 32 || !platform.processes.RunsUnderWow64() ||
      !discovery::SixtyFourBitViewHoldsAcad(platform.registry)) {
    return;
  }
  messages.Show(0, ansi::BuiltIn(kSixtyFourBitAcadText),
                         ansi::BuiltIn(install::kSetupCaption),
                         platform::mb::kOk | platform::mb::kIconInformation);
}

}  // namespace app
