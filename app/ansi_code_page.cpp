#include "app/ansi_code_page.h"

#include <windows.h>

#include "platform/ansi_text.h"

// Last: it defines macros (_S1, _M1, ...) that clash with the C++ library's own names.
#include <mbctype.h>

namespace app {

bool UseAnsiCodePage() {
  _setmbcp(_MB_CP_ANSI);
  ansi::SetActiveCodePage(::GetACP());
  return true;
}

}  // namespace app
