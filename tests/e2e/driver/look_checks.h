#pragma once

#include <windows.h>

#include "tests/e2e/driver/expected_look.h"
#include "tests/e2e/driver/report.h"

// Checks of a running setup dialog against the look it must have.
namespace e2e {

// Caption, and every control's text, visibility, enabled and tick state.
void CheckControlStates(HWND dialog, const DialogLook& look, Report& report);

// Where the controls lie: their pixel rectangles against the dialog-unit positions of the
// look. Another process cannot convert dialog units (MapDialogRect works only in the owner),
// so the dialog's base units are measured from the release boxes' columns and rows first and
// then every other control is held to them.
void CheckGeometry(HWND dialog, const DialogLook& look, Report& report);

// How the dialog is painted, read back from the screen: the light green background, text
// drawn with transparent background on it, the dark green version caption, the folder box's
// opaque text cells.
void CheckPaint(HWND dialog, const DialogLook& look, Report& report);

// Both pictures carry their bitmaps.
void CheckPictures(HWND dialog, Report& report);

// The pictures at the screen's `dpi`: each control as large as its bitmap (as the program
// carries it) scaled by dpi / 96, and where it shows, the whole picture on the screen: shrunk
// back to its own size, what the screen shows is the bitmap.
void CheckPicturesAtDpi(HWND dialog, int dpi, Report& report);

}  // namespace e2e
