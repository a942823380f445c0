#!/usr/bin/env bash
# acad-inventory.exe on the demo machine, under Wine: loads the demo AutoCAD registry into a
# fresh Wine prefix through regedit and checks every line the tool prints, byte for byte in
# code page 936, and that it exits 0.
#   acad_inventory_demo_test.sh WINE_RUN EXE PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
wine_run=$1 exe=$2
export WINEPREFIX=$3
rm -rf "$WINEPREFIX"
"$here/scripts/load-demo-registry.sh" "$wine_run"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$wine_run" "$exe" >"$work/out.txt"
tr -d '\r' <"$work/out.txt" >"$work/actual.txt"
iconv -f UTF-8 -t CP936 "$here/tests/app/acad_inventory_demo.expected" >"$work/expected.txt"
if ! cmp -s "$work/expected.txt" "$work/actual.txt"; then
  echo "acad-inventory printed (as UTF-8):"
  iconv -f CP936 -t UTF-8 "$work/actual.txt" || cat "$work/actual.txt"
  diff <(iconv -f CP936 -t UTF-8 "$work/expected.txt") <(iconv -f CP936 -t UTF-8 "$work/actual.txt") || true
  exit 1
fi
echo "acad-inventory: $(wc -l <"$work/actual.txt") installations, as expected"
