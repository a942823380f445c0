#pragma once

#include <cstdint>

#include "platform/message_boxes.h"

namespace platform {

// MessageBoxA itself.
class Win32MessageBoxes final : public MessageBoxes {
 public:
  int Show(WindowRef owner, const char* text, const char* caption, std::uint32_t flags) override;
};

}  // namespace platform
