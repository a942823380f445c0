#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace e2e {

// The pixels of a part of the screen as the user sees them, copied from the screen's device
// context: what another process painted, with its colours, brushes and fonts.
class ScreenImage {
 public:
  static std::optional<ScreenImage> Capture(const RECT& screenRect);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // (x, y) relative to the captured rectangle's top left corner.
  COLORREF At(int x, int y) const;
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

 private:
  ScreenImage(int width, int height, std::vector<std::uint32_t> pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;  // 0x00RRGGBB, rows top down
};

}  // namespace e2e
