#!/usr/bin/env bash
# The benchmarks under Wine: builds the 64-bit edition with its benchmark programs, runs them in
# a Wine prefix and on an X server of their own, and writes their figures with the machine they
# came from to build/bench/results-wine.txt (scripts/bench.sh adds them to results.txt).
#
#   start-up      SetUp.exe against an empty dialog from a template, until the dialog is
#                 visible: with the demo registry, then with 10,000 more keys below the AutoCAD
#                 branches
#   installation  the setup's package copy of a 40-file, 50 MB package against a CopyFileA loop
#   logon         zelvar-deploy.exe user (what Active Setup runs before a user's desktop appears)
#                 against an empty console program, until each has ended: with the demo
#                 registry, then with the 10,000 more keys
#
# BENCH_RUNS (default 10) sets the starts per program, BENCH_COPIES (default 5) the copies.
# The figures are printed, never judged: only a program that fails to run fails the script.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/bootstrap.sh

runs=${BENCH_RUNS:-10}
copies=${BENCH_COPIES:-5}
build=$here/build/bench-win64
work=$build/bench-work
results_dir=$here/build/bench
results=$results_dir/results-wine.txt
wineserver=/usr/lib/wine/wineserver64

cmake --preset win64 -B "$build" -DSETUP_BENCHMARKS=ON >/dev/null
cmake --build "$build" --target SetUp empty_dialog startup_timer install_benchmark \
  zelvar-deploy empty_console logon_timer
wine_run=$build/wine-run.sh

# A Unix path as Wine's drive Z: shows it.
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# A fresh prefix for every run: the second start-up figure depends on what the registry holds.
export WINEPREFIX=$work/prefix
if [ -d "$WINEPREFIX" ]; then
  "$wineserver" -k 2>/dev/null || true
fi
rm -rf "$work"
mkdir -p "$work/install" "$results_dir"

xvfb=
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  timeout 20 "$wineserver" -w 2>/dev/null || true
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "bench-wine: preparing the prefix and the demo registry"
# Booted without a display, so nothing of the prefix stays bound to an X server that is gone.
env -u DISPLAY "$wine_run" reg query 'HKCU\Software' >/dev/null
env -u DISPLAY timeout 120 scripts/load-demo-registry.sh "$wine_run"
"$wineserver" -w
scripts/make-distribution.sh "$build/app/SetUp.exe" "$work/dist"
# The setup's package copy reads "<program folder>\Data": the program runs from a folder of its
# own, where it makes the package.
cp "$build/bench/win32/install_benchmark.exe" "$work/install/"
bench/win32/make-extra-keys.sh >"$work/extra-keys.reg"

# shellcheck source=scripts/xvfb.sh
. "$here/scripts/xvfb.sh"
start_xvfb "$work/display" bench-wine || exit 1

# One start-up comparison; the programs write code page 936, shown as UTF-8.
startup() {
  local out=$1
  "$wine_run" "$build/bench/win32/startup_timer.exe" --runs "$runs" \
    --floor "$(windows_path "$build/bench/win32/empty_dialog.exe")" \
    --program "$(windows_path "$work/dist/SetUp.exe")" >"$out.raw" 2>&1 ||
    { iconv -f CP936 -t UTF-8 -c "$out.raw" >&2; exit 1; }
  iconv -f CP936 -t UTF-8 -c "$out.raw" >"$out"
  # The figure counts only if it timed the setup dialog, not some message box.
  if ! grep -q 'dialog "Zelvar批打印软件安装"' "$out"; then
    echo "bench-wine: the window timed was not the setup dialog:" >&2
    cat "$out" >&2
    exit 1
  fi
}

load_at_start=$(cut -d" " -f1-3 /proc/loadavg)
echo "bench-wine: start-up with the demo registry ($runs starts each)"
startup "$work/startup-demo.txt"

# The product folder as the Windows Installer package leaves it, registered for every user
# once; before each timed start of the per-user part the user is put back as the demo registry
# has them (TRUSTEDPATHS as they were, no settings file), so each start is a first logon.
product='C:\Program Files\Zelvar批打印软件'
unix_product="$WINEPREFIX/drive_c/Program Files/Zelvar批打印软件"
mkdir -p "$unix_product"
cp "$work/dist/Data/zelvar-deploy.exe" "$unix_product/"
printf '[Zelvar]\r\n' >"$unix_product/Zelvar.Ini.default"
"$wine_run" "$product\\zelvar-deploy.exe" machine --folder "$product" >/dev/null
{ printf '\xff\xfe'
  awk '/^Windows Registry/ || /^\[HKEY_CURRENT_USER/ { keep = 1 } /^\[HKEY_LOCAL_MACHINE/ { keep = 0 }
       keep' demo/acad-demo-registry.reg | iconv -f UTF-8 -t UTF-16LE; } >"$work/first-logon.reg"
settings='"%APPDATA%\Zelvar\Zelvar.Ini"'
first_logon="cmd /c regedit /S $(windows_path "$work/first-logon.reg") & if exist $settings del /q $settings"

# One logon comparison; the per-user part must exit 0 at every start.
logon() {
  local out=$1
  "$wine_run" "$build/bench/win32/logon_timer.exe" --runs "$runs" \
    --floor "$(windows_path "$build/bench/win32/empty_console.exe")" \
    --program "\"$product\\zelvar-deploy.exe\" user --folder \"$product\"" \
    --reset "$first_logon" >"$out.raw" 2>&1 ||
    { iconv -f CP936 -t UTF-8 -c "$out.raw" >&2; exit 1; }
  iconv -f CP936 -t UTF-8 -c "$out.raw" >"$out"
}

echo "bench-wine: logon with the demo registry ($runs runs each)"
logon "$work/logon-demo.txt"

echo "bench-wine: loading 10,000 more keys below the AutoCAD branches"
timeout 600 scripts/load-demo-registry.sh "$wine_run" "$work/extra-keys.reg"
# The last key of the file must be there, or the second figure would time the demo registry.
last_key=$(grep '^\[' "$work/extra-keys.reg" | tail -n1 | tr -d '[]' | sed 's/^HKEY_LOCAL_MACHINE/HKLM/')
"$wine_run" reg query "$last_key" >/dev/null ||
  { echo "bench-wine: the extra keys did not load" >&2; exit 1; }

echo "bench-wine: start-up with the 10,000 extra keys ($runs starts each)"
startup "$work/startup-extra.txt"

echo "bench-wine: logon with the 10,000 extra keys ($runs runs each)"
logon "$work/logon-extra.txt"

echo "bench-wine: package copy ($copies copies each)"
"$wine_run" "$work/install/install_benchmark.exe" --files 40 --megabytes 50 --runs "$copies" \
  >"$work/install.txt" 2>&1 || { cat "$work/install.txt" >&2; exit 1; }

{
  echo "# Wine benchmarks, $(date -u +%Y-%m-%d)"
  echo "# machine: $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //'), $(nproc) cores"
  echo "# load average when they began: $load_at_start (other work on the machine skews figures)"
  echo "# $(/usr/lib/wine/wine64 --version), 64-bit edition, Xvfb 1024x768x24, code page 936"
  echo
  echo "## start-up, demo registry (demo/acad-demo-registry.reg)"
  cat "$work/startup-demo.txt"
  echo
  echo "## start-up, demo registry and 10,000 extra keys below the AutoCAD branches"
  cat "$work/startup-extra.txt"
  echo
  echo "## installation"
  cat "$work/install.txt"
  echo
  echo "## logon: zelvar-deploy.exe user, demo registry"
  cat "$work/logon-demo.txt"
  echo
  echo "## logon: zelvar-deploy.exe user, demo registry and 10,000 extra keys"
  cat "$work/logon-extra.txt"
} | tee "$results"
