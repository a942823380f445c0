#include "tests/e2e/driver/text_ink.h"

#include <optional>

#include "tests/e2e/driver/screen_capture.h"

namespace e2e {

namespace {
// The screen's device context and the font selected into it, released on every way out.
struct ScreenPen {
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ previousFont = nullptr;

  ScreenPen() = default;
  ScreenPen(const ScreenPen&) = delete;
  ScreenPen& operator=(const ScreenPen&) = delete;
  ~ScreenPen() {
    if (previousFont != nullptr) {
      ::SelectObject(dc, previousFont);
    }
    if (font != nullptr) {
      ::DeleteObject(font);
    }
    if (dc != nullptr) {
      ::ReleaseDC(nullptr, dc);
    }
  }
};
}  // namespace

int InkOfText(const std::string& text, const char* face, int height, int weight,
              const RECT& spot) {
  std::optional<ScreenImage> image;
  {
    ScreenPen pen;
    pen.dc = ::GetDC(nullptr);
    pen.font = ::CreateFontA(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face);
    if (pen.dc == nullptr || pen.font == nullptr) {
      return -1;
    }
    pen.previousFont = ::SelectObject(pen.dc, pen.font);
    ::FillRect(pen.dc, &spot, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SetBkMode(pen.dc, TRANSPARENT);
    ::SetTextColor(pen.dc, RGB(0, 0, 0));
    ::TextOutA(pen.dc, spot.left, spot.top, text.data(), static_cast<int>(text.size()));
    ::GdiFlush();
    image = ScreenImage::Capture(spot);
  }
  ::RedrawWindow(nullptr, &spot, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  if (!image) {
    return -1;
  }
  int ink = 0;
  for (int y = 0; y < image->Height(); ++y) {
    for (int x = 0; x < image->Width(); ++x) {
      if (image->At(x, y) != RGB(255, 255, 255)) {
        ++ink;
      }
    }
  }
  return ink;
}

}  // namespace e2e
