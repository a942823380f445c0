#!/usr/bin/env bash
# Loads the demo AutoCAD registry into a Wine prefix:
#   scripts/load-demo-registry.sh BUILD/wine-run.sh
# (WINEPREFIX in the environment picks the prefix; the build's own one otherwise).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
wine_run=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# regedit reads version-5 files as UTF-16 with a byte-order mark.
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$here/demo/acad-demo-registry.reg"; } >"$work/demo.reg"
"$wine_run" regedit /S "Z:$(printf '%s' "$work/demo.reg" | tr '/' '\\')"
