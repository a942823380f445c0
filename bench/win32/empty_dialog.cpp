// The floor of the start-up benchmark: the least a Win32 program does to show a dialog, a
// modal dialog from a template with nothing to initialise. What SetUp.exe takes beyond this
// is the price of its own start-up (the registry scan, the controls, the pictures).

#include <windows.h>

#include "bench/win32/empty_dialog_ids.h"

namespace {

INT_PTR CALLBACK EmptyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      // The timer ends the program with IDCANCEL, as Esc or the close box would.
      if (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK) {
        ::EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int /*show*/) {
  const INT_PTR result =
      ::DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_EMPTY), nullptr, EmptyDialogProc, 0);
  return result == IDCANCEL || result == IDOK ? 0 : 1;
}
