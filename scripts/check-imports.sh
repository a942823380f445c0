#!/usr/bin/env bash
# Fails unless every given .exe imports system DLLs only (the runtime libraries must be linked
# in, so the program runs from a bare folder on any Windows machine).
#   scripts/check-imports.sh OBJDUMP EXE...
set -euo pipefail
objdump=$1
shift
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|comdlg32|shlwapi|msvcrt|ws2_32|version)\.dll$'
status=0
for exe in "$@"; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')
  if [ -z "$dlls" ]; then
    echo "$exe: no import table found" >&2
    status=1
    continue
  fi
  while IFS= read -r dll; do
    if ! printf '%s\n' "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
      echo "$exe imports $dll, which is not a system DLL" >&2
      status=1
    fi
  done <<<"$dlls"
  echo "$exe: $(echo $dlls)"
done
exit $status
