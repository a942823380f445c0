#pragma once

namespace app {

// Makes every narrow-text operation of the program follow the machine's ANSI code page: the
// runtime's multibyte functions and the program's own text helpers. Returns true.
bool UseAnsiCodePage();

}  // namespace app
