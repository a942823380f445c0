#pragma once

// Pictures compared as a user would see them: a picture shown larger, shrunk back to its own
// size by averaging, is held against the picture itself. A picture cut off, shown at its own
// size in a larger frame, blank or another one differs widely; one scaled whole differs only
// by the smoothing.

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace test_support {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;  // 0x00RRGGBB, rows top down
};

// The bitmap's pixels; an empty picture when GDI cannot read them.
inline Picture PictureOf(HBITMAP bitmap) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0) return {};
  Picture picture{info.bmWidth, info.bmHeight,
                  std::vector<std::uint32_t>(static_cast<std::size_t>(info.bmWidth) * info.bmHeight)};
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = -info.bmHeight;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const int rows = ::GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight),
                               picture.pixels.data(), &format, DIB_RGB_COLORS);
  ::DeleteDC(dc);
  if (rows != info.bmHeight) return {};
  for (std::uint32_t& pixel : picture.pixels) pixel &= 0x00FFFFFF;
  return picture;
}

// `shown` shrunk to the size of `own`, each pixel the average of those it covers, against
// `own`: the mean difference of a colour channel, 0 to 255 (255 when either is empty).
inline int MeanDifference(const Picture& own, const Picture& shown) {
  if (own.pixels.empty() || shown.width < own.width || shown.height < own.height) return 255;
  long long total = 0;
  for (int y = 0; y < own.height; ++y) {
    const int top = y * shown.height / own.height;
    const int bottom = (y + 1) * shown.height / own.height;
    for (int x = 0; x < own.width; ++x) {
      const int left = x * shown.width / own.width;
      const int right = (x + 1) * shown.width / own.width;
      long long sum[3] = {};
      for (int sy = top; sy < bottom; ++sy) {
        for (int sx = left; sx < right; ++sx) {
          const std::uint32_t pixel = shown.pixels[static_cast<std::size_t>(sy) * shown.width + sx];
          for (int c = 0; c < 3; ++c) sum[c] += (pixel >> (8 * c)) & 0xFF;
        }
      }
      const long long count = static_cast<long long>(bottom - top) * (right - left);
      const std::uint32_t reference = own.pixels[static_cast<std::size_t>(y) * own.width + x];
      for (int c = 0; c < 3; ++c) {
        total += std::llabs(sum[c] / count - static_cast<long long>((reference >> (8 * c)) & 0xFF));
      }
    }
  }
  return static_cast<int>(total / (3LL * own.width * own.height));
}

}  // namespace test_support
