#pragma once

namespace uninstall {

// The questions of the uninstallation, put to whoever runs it: UnInstall.exe answers with
// message boxes, a program without a window from what it was told.
class UninstallPrompts {
 public:
  virtual ~UninstallPrompts() = default;
  // Whether to go on and take the plug-in out.
  virtual bool ConfirmRemoval() = 0;
  // AutoCAD runs although the removal was confirmed: told once, and then asked again.
  virtual void AutoCADRunning() = 0;
};

}  // namespace uninstall
