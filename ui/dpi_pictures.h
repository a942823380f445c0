#pragma once

#include <windows.h>

#include <vector>

#include "ui/gdi_objects.h"

namespace ui {

// A dialog's picture controls (SS_BITMAP statics) drawn at the window's DPI. The bitmaps were
// made for 100 %, where each fills the frame the template gives it; at another DPI each control
// shows a copy of the bitmap the template gave it, scaled smoothly by DPI / 96 (the control
// takes the copy's size, so the picture is never cut). Before the dialog is destroyed, every
// control gets its own bitmap back, so it ends as it began and the copies go with this object.
class DpiPictures {
 public:
  DpiPictures() = default;
  DpiPictures(const DpiPictures&) = delete;
  DpiPictures& operator=(const DpiPictures&) = delete;

  // Finds the picture controls of `dialog` and the bitmaps they show.
  void Attach(HWND dialog);
  // Shows every picture at `dpi`: its own bitmap at 96, otherwise a scaled copy.
  void ShowAt(UINT dpi);
  // Gives each control its own bitmap back; the copies are deleted.
  void Restore();

 private:
  struct Picture {
    HWND control;
    HBITMAP original;  // the control's own, loaded from the template; never deleted here
    SIZE size;         // of the original
    CBitmap scaled;    // the copy shown, if any
  };
  std::vector<Picture> pictures_;
};

// A copy of `source` at `width` x `height`, every pixel the average of the pixels it covers
// (StretchBlt in HALFTONE mode); nullptr when GDI could not make it.
HBITMAP ScaledCopy(HBITMAP source, int width, int height);

}  // namespace ui
