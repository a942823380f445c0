#!/usr/bin/env bash
# Loads a registry file into a Wine prefix, the demo AutoCAD registry unless another is named:
#   scripts/load-demo-registry.sh BUILD/wine-run.sh [FILE.reg ...]
# (WINEPREFIX in the environment picks the prefix; the build's own one otherwise). The files
# are kept as UTF-8 in the repository.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
wine_run=$1
shift
if [ $# -eq 0 ]; then
  set -- "$here/demo/acad-demo-registry.reg"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for file in "$@"; do
  # regedit reads version-5 files as UTF-16 with a byte-order mark.
  { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$file"; } >"$work/load.reg"
  "$wine_run" regedit /S "Z:$(printf '%s' "$work/load.reg" | tr '/' '\\')"
done
