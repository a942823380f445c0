#include "tests/e2e/driver/screen_capture.h"

#include <utility>

namespace e2e {

namespace {
// The device contexts and the bitmap of one capture, released on every way out.
struct CaptureObjects {
  HDC screen = nullptr;
  HDC memory = nullptr;
  HBITMAP bitmap = nullptr;
  HGDIOBJ previous = nullptr;

  CaptureObjects() = default;
  CaptureObjects(const CaptureObjects&) = delete;
  CaptureObjects& operator=(const CaptureObjects&) = delete;
  ~CaptureObjects() {
    if (previous != nullptr) {
      ::SelectObject(memory, previous);
    }
    if (bitmap != nullptr) {
      ::DeleteObject(bitmap);
    }
    if (memory != nullptr) {
      ::DeleteDC(memory);
    }
    if (screen != nullptr) {
      ::ReleaseDC(nullptr, screen);
    }
  }
};
}  // namespace

std::optional<ScreenImage> ScreenImage::Capture(const RECT& screenRect) {
  const int width = screenRect.right - screenRect.left;
  const int height = screenRect.bottom - screenRect.top;
  if (width <= 0 || height <= 0) {
    return std::nullopt;
  }
  CaptureObjects objects;
  objects.screen = ::GetDC(nullptr);
  if (objects.screen == nullptr) {
    return std::nullopt;
  }
  objects.memory = ::CreateCompatibleDC(objects.screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  objects.bitmap = ::CreateDIBSection(objects.memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (objects.memory == nullptr || objects.bitmap == nullptr || bits == nullptr) {
    return std::nullopt;
  }
  objects.previous = ::SelectObject(objects.memory, objects.bitmap);
  if (::BitBlt(objects.memory, 0, 0, width, height, objects.screen, screenRect.left,
               screenRect.top, SRCCOPY) == 0) {
    return std::nullopt;
  }
  ::GdiFlush();
  const auto* first = static_cast<const std::uint32_t*>(bits);
  std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
  return ScreenImage(width, height, std::move(pixels));
}

COLORREF ScreenImage::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    return CLR_INVALID;
  }
  const std::uint32_t pixel = pixels_[static_cast<std::size_t>(y) * width_ + x];
  return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

}  // namespace e2e
