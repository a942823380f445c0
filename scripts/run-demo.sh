#!/usr/bin/env bash
# Builds the 64-bit Windows edition and runs SetUp.exe under Wine on a demo machine: a fresh
# Wine prefix holding the demo AutoCAD registry (several releases in both registry branches,
# Chinese and English products, two user profiles) and the AutoCAD folders on drive C:, and a
# demo distribution (SetUp.exe beside a Data folder with a placeholder package).
#
# With a display (DISPLAY set) the dialog opens there and you install by clicking. Without
# one, the program runs on an X server of its own and the test driver clicks Install for you;
# screenshots of the dialog before and after land in build/win64/screenshots/demo*.png.
# Either way the script then lists what the installation left in the prefix.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/bootstrap.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target SetUp e2e-driver

build=$here/build/win64
wine_run=$build/wine-run.sh
work=$build/demo
prefix=$work/demo/prefix
dist=$work/demo/dist

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$prefix
  /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  rm -rf "$work/demo"
  mkdir -p "$prefix"
  scripts/load-demo-registry.sh "$wine_run"
  scripts/make-distribution.sh "$build/app/SetUp.exe" "$dist"
  # The AutoCAD folders, made the way the test driver makes them.
  (cd "$dist" && "$wine_run" "$build/tests/e2e/driver/e2e-driver.exe" --dist . \
     prepare:"$here/demo/acad-demo-folders.txt" >/dev/null) || true
  echo "run-demo: SetUp.exe is open on $DISPLAY; install, or cancel, to go on"
  (cd "$dist" && "$wine_run" "$dist/SetUp.exe")
else
  E2E_KEEP_PREFIX=1 tests/e2e/run-e2e.sh --name demo --wine-run "$wine_run" \
    --driver "$build/tests/e2e/driver/e2e-driver.exe" --setup "$build/app/SetUp.exe" \
    --work "$work" --shots "$build/screenshots" --registry "$here/demo/acad-demo-registry.reg" \
    -- --bits 64 --found 2008,2009,2010,2014,2021,2024 \
    launch prepare:"$here/demo/acad-demo-folders.txt" shot:choosing click-install \
    wait-finished shot:finished end-finish
  export WINEPREFIX=$prefix
fi

echo
echo "run-demo: what the installation left in the demo prefix ($prefix):"
product="$prefix/drive_c/Zelvar/Zelvar批打印软件"
if [ -d "$product" ]; then
  echo "  C:\\Zelvar\\Zelvar批打印软件:"
  ls "$product" | sed 's/^/    /'
else
  echo "  no product folder (the setup was cancelled)"
fi
for key in 'HKLM\SOFTWARE\Wow6432Node\Autodesk\AutoCAD\R17.1\ACAD-6001:804\Applications' \
           'HKLM\SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804\Applications' \
           'HKCU\SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804\Profiles\<<未命名配置>>\Variables'; do
  "$wine_run" reg query "$key" /s 2>/dev/null | iconv -f CP936 -t UTF-8 -c | tr -d '\r' |
    grep -v '^$' | sed 's/^/  /' || true
done
