#include "ui/logic/setup_choices.h"

#include <algorithm>

#include "discovery/text_format.h"
#include "install/product_identity.h"
#include "platform/built_in_text.h"

namespace ui {

namespace {
// The first release that only exists as a 64-bit program.
constexpr std::size_t kFirst64BitOnlyRelease = 10;
}  // namespace

InstallSelection InitialSelection() {
  InstallSelection selection;
  selection.releaseFlags.fill(1);
  selection.targetFolder = install::kDefaultChosenFolder;
  return selection;
}

ReleaseBoxStates OfferReleases(const discovery::InstallationInventory& inventory, int bits,
                               ReleaseFlags& flags) {
  ReleaseBoxStates states{};
  for (std::size_t i = 0; i < discovery::kReleaseCount; ++i) {
    if (inventory.acadLocations[i].empty()) {
      states[i].enabled = false;
      flags[i] = 0;
    }
  }
  if (bits == 32) {
    for (std::size_t i = kFirst64BitOnlyRelease; i < discovery::kReleaseCount; ++i) {
      states[i].visible = false;
      flags[i] = 0;
    }
  }
  return states;
}

bool AnyReleaseTicked(const ReleaseFlags& flags) {
  return std::any_of(flags.begin(), flags.end(), [](std::int32_t flag) { return flag != 0; });
}

std::string FormatVersionText(int version, int bits) {
  return discovery::FormatText(ansi::BuiltIn("Zelvar批打印软件 V%d.%d.%d (%d位版本)"),
                               version / 10000, version % 10000 / 100, version % 100, bits);
}

}  // namespace ui
