#!/usr/bin/env bash
# ctest's check that the Wine benchmark programs build and run: each once, on a small package
# and with one start of each program, no figure judged. scripts/bench-wine.sh takes the figures.
#   run-once.sh WINE_RUN STARTUP_TIMER EMPTY_DIALOG SETUP INSTALL_BENCHMARK WORK_DIR
#               LOGON_TIMER EMPTY_CONSOLE
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
wine_run=$1 timer=$2 floor=$3 setup=$4 installer=$5 work=$6 logon_timer=$7 empty_console=$8
: "${WINEPREFIX:?run-once.sh needs WINEPREFIX: a prefix of its own, whose server it ends}"

windows_path() { printf 'Z:%s' "$(realpath -m -- "$1")" | tr '/' '\\'; }

rm -rf "$work"
mkdir -p "$work/install"

# The start-up figure with extra keys is only what it says if the generated file holds 10,000
# keys, every one below one of the two AutoCAD branches the scan walks.
"$here/bench/win32/make-extra-keys.sh" >"$work/extra-keys.reg"
keys=$(grep -c '^\[' "$work/extra-keys.reg")
below=$(grep -cE '^\[HKEY_LOCAL_MACHINE\\SOFTWARE\\(Wow6432Node\\)?Autodesk\\AutoCAD\\[^]]+\]$' \
  "$work/extra-keys.reg")
if [ "$keys" != 10000 ] || [ "$below" != 10000 ]; then
  echo "run-once: the extra-keys file holds $keys keys, $below below the AutoCAD branches" >&2
  exit 1
fi
"$here/scripts/make-distribution.sh" "$setup" "$work/dist"
# The setup's package copy reads "<program folder>\Data": the program runs from a folder of
# its own.
cp "$installer" "$work/install/"

"$wine_run" "$work/install/$(basename "$installer")" --files 40 --megabytes 1 --runs 1 \
  >"$work/install.txt" 2>&1 || { cat "$work/install.txt"; exit 1; }
cat "$work/install.txt"
# Wine's CreateProcess has once answered a start with error 1359 (ERROR_INTERNAL_ERROR: the
# new process ended before Wine had set it up) under load in CI: that alone is tried once more.
logon_once() {
  "$wine_run" "$logon_timer" --runs 1 --floor "$(windows_path "$empty_console")" \
    --program "$(windows_path "$empty_console")" >"$work/logon.txt" 2>&1
}
if ! logon_once; then
  grep -q 'cannot start .* (error 1359)' "$work/logon.txt" || { cat "$work/logon.txt"; exit 1; }
  echo "run-once: Wine could not set up a started process (error 1359); the logon timer again"
  logon_once || { cat "$work/logon.txt"; exit 1; }
fi
cat "$work/logon.txt"
# Windows need the X server the next run starts: nothing of the prefix may still be running
# without one.
/usr/lib/wine/wineserver64 -k 2>/dev/null || true
/usr/lib/wine/wineserver64 -w 2>/dev/null || true
SETUP_WINE_DISPLAY=xvfb "$wine_run" "$timer" --runs 1 --floor "$(windows_path "$floor")" \
  --program "$(windows_path "$work/dist/SetUp.exe")" >"$work/startup.txt" 2>&1 ||
  { iconv -f CP936 -t UTF-8 -c "$work/startup.txt"; exit 1; }
iconv -f CP936 -t UTF-8 -c "$work/startup.txt"
rm -rf "$work"
