// exit-code.exe COMMAND...: runs COMMAND (the rest of its own command line, as written) and
// prints its exit code. A Unix shell sees a Wine program's exit code modulo 256, which turns
// msiexec's 1603 and 1627 into 67 and 91.

#include <windows.h>

#include <cstdio>

namespace {
// A handle CreateProcess gave out, closed when the holder goes.
struct Owned {
  explicit Owned(HANDLE owned) : handle(owned) {}
  HANDLE handle;
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { ::CloseHandle(handle); }
};
}  // namespace

int wmain() {
  wchar_t* rest = ::GetCommandLineW();
  // Past the program's own name, quoted or not, and the blanks after it.
  const bool quoted = *rest == L'"';
  for (++rest; *rest != L'\0' && (quoted ? *rest != L'"' : *rest != L' '); ++rest) {
  }
  if (*rest == L'"') ++rest;
  while (*rest == L' ') ++rest;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, rest, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
    std::printf("exit-code: cannot start it (%lu)\n", ::GetLastError());
    return 1;
  }
  const Owned thread{process.hThread};
  const Owned child{process.hProcess};
  ::WaitForSingleObject(child.handle, INFINITE);
  DWORD code = 0;
  ::GetExitCodeProcess(child.handle, &code);
  std::printf("%lu\n", code);
  return 0;
}
