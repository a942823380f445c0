#pragma once

#include "install/product_identity.h"

namespace ui {

// The setup's version, shown as year.month.day.
using install::setupVersion;

// The bitness of this setup edition, shown in the version caption. The 32-bit edition withdraws
// the releases AutoCAD 2017 to 2025, which only exist as 64-bit programs. Each program defines
// it (it follows the build unless the build names it), so one build can hold both editions.
extern const int setupBits;

}  // namespace ui
