#pragma once

#include <windows.h>

namespace ui {

// The DPI the layout of the pictures, fonts and offsets below was made for: 100 %.
inline constexpr UINT kDesignDpi = 96;

// The DPI `window` is drawn at: GetDpiForWindow where user32 has it (Windows 10 1607 on),
// otherwise the screen's LOGPIXELSY, the system DPI that a system-aware program is drawn at
// (Windows 7 and 8).
UINT WindowDpi(HWND window);

// A length of the 100 % layout at `dpi`, rounded to the nearest pixel.
inline int ScaledToDpi(int length, UINT dpi) {
  return ::MulDiv(length, static_cast<int>(dpi), static_cast<int>(kDesignDpi));
}

// GetSystemMetricsForDpi(index, dpi) where user32 has it, otherwise GetSystemMetrics(index),
// which answers for the system DPI.
int SystemMetricForDpi(int index, UINT dpi);

}  // namespace ui
