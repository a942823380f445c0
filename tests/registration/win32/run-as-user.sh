#!/usr/bin/env bash
# Runs the per-user Wine tests of the registration as an ordinary Unix user: only then does
# Wine refuse a copy into a folder of mode 555, as Windows refuses a user without
# administrator rights in AutoCAD's program folder (root writes anywhere, and CI runs as
# root). The AutoCAD folder belongs to root, as Program Files belongs to the administrators:
# the user can neither write into it nor change the attributes of its files. It needs root to
# make the user (useradd, once); run by anyone else it reports a skip (77).
#
# The checkout may lie where the user cannot go (a clone in root's home, mode 700), so the
# test program and the Wine wrapper are copied into the user's home and run from there, and
# the wrapper builds any locale it lacks there too, not in the build folder.
#
#   run-as-user.sh WINE-RUN TEST-EXE
set -euo pipefail
wine_run=$(realpath -- "$1")
exe=$(realpath -- "$2")
user=zelvar-refusal

if [ "$(id -u)" != 0 ]; then
  echo "run-as-user: needs root to make an ordinary user" >&2
  exit 77
fi
id "$user" >/dev/null 2>&1 || useradd -m "$user"
home=$(getent passwd "$user" | cut -d: -f6)
run_as_user() { runuser -u "$user" -- env "$@"; }

work=$home/zelvar-refusal
rm -rf "$work/acad" "$work/bin"
mkdir -p "$work/bin" "$work/tmp"
cp "$exe" "$wine_run" "$work/bin/"
chown -R "$user:" "$work"
mkdir -p "$work/acad/Fonts" "$work/acad/Drv"
echo "AutoCAD's driver" >"$work/acad/Drv/pdfplot9.hdi"
chown -R root: "$work/acad"
chmod -R go-w "$work/acad"

acad_windows=$(printf 'Z:%s' "$work/acad" | tr '/' '\\')
out=$work/tmp/output.txt
status=0
# Output to a file: Wine's daemons could hold a pipe open.
cd "$work"
run_as_user HOME="$home" WINEPREFIX="$work/prefix" TMPDIR="$work/tmp" \
  SETUP_WINE_LOCALES="$work/locale" ZELVAR_UNWRITABLE_ACAD="$acad_windows" \
  "$work/bin/$(basename "$wine_run")" "$work/bin/$(basename "$exe")" \
  --gtest_filter='PerUserOnWine.*' >"$out" 2>&1 || status=$?
run_as_user WINEPREFIX="$work/prefix" /usr/lib/wine/wineserver64 -k >/dev/null 2>&1 || true
cat "$out"
# The test that needs the refusing folder must have run, not been skipped.
if grep -q 'SKIPPED' "$out"; then
  echo "run-as-user: a test was skipped" >&2
  exit 1
fi
exit $status
