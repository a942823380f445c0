#pragma once

// A setup dialog in the test's own process that, once it is on screen, hands itself to a probe
// and then ends as Cancel ends it; a watchdog ends it with kWatchdogResult if the probe hangs.

#include <windows.h>

#include <functional>

#include "ui/setup_dialog.h"

namespace ui::testing {

constexpr UINT_PTR kProbeTimer = 1;
constexpr UINT_PTR kWatchdogTimer = 2;
constexpr INT_PTR kWatchdogResult = 99;

// A setup dialog that, once it is on screen, hands itself to a probe and then ends.
class ProbedSetupDialog : public ui::Dlg_Setup {
 public:
  using Dlg_Setup::Dlg_Setup;
  using Dlg_Setup::OnCtlColor;

  std::function<void(ProbedSetupDialog&)> probe;
  // Stands for the user's high-contrast setting, which Wine cannot turn on.
  bool highContrast = false;

  HWND Item(int id) const { return GetDlgItem(id); }
  HWND Window() const { return m_hWnd; }

 protected:
  bool HighContrastOn() const override { return highContrast; }
  BOOL OnInitDialog() override {
    const BOOL result = Dlg_Setup::OnInitDialog();
    running = this;
    ::SetTimer(m_hWnd, kProbeTimer, 50, &ProbedSetupDialog::OnTimer);
    ::SetTimer(m_hWnd, kWatchdogTimer, 20000, &ProbedSetupDialog::OnTimer);
    return result;
  }

 private:
  static void CALLBACK OnTimer(HWND window, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(window, id);
    if (id == kWatchdogTimer) {
      ::EndDialog(window, kWatchdogResult);
      return;
    }
    ::UpdateWindow(window);
    if (running->probe) {
      running->probe(*running);
    }
    if (::IsWindow(window)) {
      ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
  }

  static inline ProbedSetupDialog* running = nullptr;
};

}  // namespace ui::testing
