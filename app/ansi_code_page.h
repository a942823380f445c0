#pragma once

#include "platform/ansi_text.h"

namespace app {

// The bytes that lead a double-byte character in `codePage`, as Windows reports them.
ansi::LeadByteTable SystemLeadBytes(unsigned codePage);

// Makes every narrow-text operation of the program follow the machine's ANSI code page: the
// runtime's multibyte functions and the program's own text helpers, with the lead bytes that
// Windows reports for that code page. Returns true.
bool UseAnsiCodePage();

}  // namespace app
