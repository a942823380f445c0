#!/usr/bin/env bash
# Builds the 64-bit Windows edition and runs it under Wine against a demo machine: a fresh Wine
# prefix holding a demo AutoCAD registry (several releases, both registry branches, Chinese
# and English products).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/bootstrap.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target acad-inventory

export WINEPREFIX="$here/build/win64/demo-prefix"
rm -rf "$WINEPREFIX"
scripts/load-demo-registry.sh build/win64/wine-run.sh

echo "AutoCAD installations the setup sees (release, product key, install folder):"
build/win64/wine-run.sh build/win64/app/acad-inventory.exe | iconv -f CP936 -t UTF-8
