#pragma once

#include <windows.h>

#include <string>

namespace e2e {

// How many pixels a line of text covers when this machine draws it on the screen in the face
// and weight given: the yardstick for telling from the screen whether a control's text came
// out bold. The text is drawn through the screen's own device context, so it goes through the
// same font rendering as the program's windows, onto `spot` (screen coordinates, a part of
// the desktop that no window covers), which is repainted afterwards. -1 if it could not be
// drawn or read back.
int InkOfText(const std::string& text, const char* face, int height, int weight,
              const RECT& spot);

}  // namespace e2e
