#include "app/ansi_code_page.h"

#include <windows.h>

// Last: it defines macros (_S1, _M1, ...) that clash with the C++ library's own names.
#include <mbctype.h>

namespace app {

ansi::LeadByteTable SystemLeadBytes(unsigned codePage) {
  ansi::LeadByteTable table{};
  for (unsigned byte = 0; byte < table.size(); ++byte) {
    table[byte] = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte)) != FALSE;
  }
  return table;
}

bool UseAnsiCodePage() {
  _setmbcp(_MB_CP_ANSI);
  const unsigned codePage = GetACP();
  ansi::SetActiveCodePage(codePage, SystemLeadBytes(codePage));
  return true;
}

}  // namespace app
