// Stands in for AutoCAD in the process list: it only waits, for the number of seconds given
// on its command line (60 when none), or until it is ended.

#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 60;
  Sleep(static_cast<DWORD>(seconds > 0 ? seconds : 60) * 1000);
  return 0;
}
