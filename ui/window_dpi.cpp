#include "ui/window_dpi.h"

namespace ui {

namespace {

// A function of user32 that older Windows lack, looked up at run time so the program still
// starts there (and imports nothing but what every supported Windows has).
template <class Function>
Function User32Function(const char* name) {
  const HMODULE user32 = ::GetModuleHandleA("user32.dll");
  const FARPROC found = user32 != nullptr ? ::GetProcAddress(user32, name) : nullptr;
  // Through void (*)(), the cast the compiler takes as deliberate between function types.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

}  // namespace

UINT WindowDpi(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return dpi;
  }
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto getSystemMetricsForDpi =
      User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
  return getSystemMetricsForDpi != nullptr ? getSystemMetricsForDpi(index, dpi)
                                           : ::GetSystemMetrics(index);
}

}  // namespace ui
