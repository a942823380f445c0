#pragma once

#include "platform/message_boxes.h"
#include "platform/platform.h"

namespace app {

// The 32-bit edition on 64-bit Windows sees only the 32-bit registry view, so with only 64-bit
// AutoCAD installed it offers no release, just as on a machine without AutoCAD. Where it runs
// so (under WOW64) and the 64-bit view holds AutoCAD, one message box before the dialog says
// that the 64-bit SetUp.exe serves those releases. Any other edition and machine: nothing.
void TellOfSixtyFourBitAcad(platform::Platform platform, platform::MessageBoxes& messages,
                            int setupBits);

}  // namespace app
