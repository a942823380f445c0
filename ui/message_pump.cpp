#include "ui/message_pump.h"

#include <windows.h>

namespace ui {

namespace {

// At most this many messages per call: a window that never validates its paint would
// otherwise keep the loop going for ever.
constexpr int kMostMessages = 256;

// Touch and pen input, which the headers of Windows 7 do not name: WM_GESTURE, then WM_TOUCH
// up to the last pointer message (WM_POINTERROUTEDRELEASED, Windows 8 on). A window that does
// not take the pointer messages gets them again as mouse messages.
constexpr UINT kGesture = 0x0119;
constexpr UINT kTouchFirst = 0x0240;
constexpr UINT kPointerLast = 0x0253;

// The user's input as the queue holds it. WM_SETCURSOR, WM_NCHITTEST and WM_MOUSEACTIVATE are
// sent while a mouse message is taken from the queue and only ask the window, so they pass.
bool IsUserInput(UINT message) {
  return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||        // keys, characters
         (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||    // mouse in the client area
         (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK) ||  // and on the frame
         (message >= WM_NCMOUSEHOVER && message <= WM_MOUSELEAVE) ||  // TrackMouseEvent's
         message == WM_INPUT || message == kGesture ||
         (message >= kTouchFirst && message <= kPointerLast);
}

}  // namespace

void DispatchAllButInput() {
  MSG message;
  for (int taken = 0; taken < kMostMessages &&
                      ::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
       ++taken) {
    if (message.message == WM_QUIT) {
      // Not this loop's to end: put back for the loop that owns the thread.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (!IsUserInput(message.message)) {
      ::DispatchMessageA(&message);
    }
  }
}

}  // namespace ui
