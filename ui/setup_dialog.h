#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "discovery/installation_inventory.h"
#include "ui/logic/install_command.h"
#include "platform/message_boxes.h"
#include "platform/platform.h"
#include "ui/controls.h"
#include "ui/dialog.h"
#include "ui/dpi_pictures.h"
#include "ui/gdi_objects.h"
#include "ui/logic/setup_choices.h"

namespace ui {

// The setup's one window: the user ticks the AutoCAD releases to install for, chooses the
// target folder, installs, and at the end reads where the plug-in's menus appear.
class Dlg_Setup : public CDialog {
 public:
  Dlg_Setup(discovery::InstallationInventory& inventory, platform::Platform platform,
            platform::MessageBoxes& messages,
            HWND parent = nullptr);
  ~Dlg_Setup() override = default;

  // Pulls the controls into the members, then enables Install only while a release is ticked.
  void UpdateInstallButton();

  // Light green; paints every control and the dialog itself.
  CBrush backgroundBrush;
  // The release boxes, AutoCAD 2025 first and 2007 last.
  std::array<CButton, discovery::kReleaseCount> releaseBoxes;
  // One flag per release, 2007 first; non-zero = ticked.
  ReleaseFlags releaseFlags;
  std::string versionText;
  CProgressCtrl progressBar;
  std::string targetFolder;

 protected:
  MessageMap GetMessageMap() const override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;

  HBRUSH OnCtlColor(HDC dc, CWnd& control, UINT ctlColor);
  // Whether the user has turned high contrast on (SPI_GETHIGHCONTRAST): then the folder box
  // keeps the system's colours.
  virtual bool HighContrastOn() const;
  // The caption's font, the pictures and the icon at `dpi`.
  void ShowAtDpi(UINT dpi);
  // WM_DPICHANGED: the dialog manager rescales the template's layout and fonts first; the
  // dialog's own font, pictures and icon follow once it has (kDpiSettled, posted).
  void OnDpiChanged(WPARAM dpi, LPARAM suggestedRect);
  void OnDpiSettled(WPARAM dpi, LPARAM);
  void OnDestroy(WPARAM, LPARAM);
  void OnReleaseBoxClicked();
  void OnBrowse();
  void OnInstall();

  discovery::InstallationInventory& inventory_;
  platform::Platform platform_;
  platform::MessageBoxes& messages_;

 private:
  friend class SetupInstallView;

  // The Install command, with its once-per-run AutoCAD warning.
  InstallCommand installCommand_;
  // The version caption's semi-bold face; lives as long as the dialog can paint.
  CFont captionFont_;
  // The logo and the menu picture at the window's DPI.
  DpiPictures pictures_;
  // The title bar's icon, at the size of a small icon at the window's DPI.
  CIcon smallIcon_;
  // While the installation runs, the dialog takes no command (see GetMessageMap).
  bool installing_ = false;
};

}  // namespace ui
