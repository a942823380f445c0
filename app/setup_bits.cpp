#include "ui/logic/build_constants.h"

#ifndef SETUP_BITS
#define SETUP_BITS (sizeof(void*) == 8 ? 64 : 32)
#endif

namespace ui {
extern const int setupBits = SETUP_BITS;
}  // namespace ui
