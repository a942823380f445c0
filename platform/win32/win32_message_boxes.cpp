#include "platform/win32/win32_message_boxes.h"

#include <windows.h>

namespace platform {

static_assert(mb::kOk == MB_OK && mb::kAbortRetryIgnore == MB_ABORTRETRYIGNORE &&
              mb::kYesNo == MB_YESNO && mb::kIconQuestion == MB_ICONQUESTION &&
              mb::kIconExclamation == MB_ICONEXCLAMATION &&
              mb::kIconInformation == MB_ICONINFORMATION && mb::kButtonsMask == MB_TYPEMASK);
static_assert(mb::kIdOk == IDOK && mb::kIdCancel == IDCANCEL && mb::kIdAbort == IDABORT &&
              mb::kIdRetry == IDRETRY && mb::kIdIgnore == IDIGNORE && mb::kIdYes == IDYES &&
              mb::kIdNo == IDNO);

int Win32MessageBoxes::Show(WindowRef owner, const char* text, const char* caption,
                            std::uint32_t flags) {
  return MessageBoxA(reinterpret_cast<HWND>(owner), text, caption, flags);
}

}  // namespace platform
