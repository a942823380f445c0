#!/usr/bin/env bash
# msiexec /i of the Windows Installer package under Wine, against the same package without its
# custom actions (the argument check, the tool's machine verb and its rollback): what the
# registration adds to Windows Installer's own work. Each run installs into a fresh prefix with
# the AutoCAD machine of the end-to-end tests, then removes again.
#
#   scripts/bench-msi.sh [BUILD_DIR]     (default build/win64, which must be configured)
#
# BENCH_RUNS (default 10) sets the runs per package. The figures (median and range of the wall
# time, in ms) are printed, never judged.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath "${1:-$here/build/win64}")
runs=${BENCH_RUNS:-10}
wineserver=/usr/lib/wine/wineserver64
cmake --build "$build" -j2 --target SetUp zelvar-deploy deploy-check-action exit-code e2e-driver >/dev/null
wine_run=$build/wine-run.sh
exit_code=$build/tests/packaging/exit-code.exe
work=$build/bench-msi
windows_path() { printf 'Z:%s' "$(realpath -m "$1")" | tr '/' '\\'; }
unset DISPLAY

rm -rf "$work"
mkdir -p "$work/cwd"
# Wine's processes start in the current folder; it is the bench's own, never the source tree.
cd "$work/cwd"
"$here/scripts/make-distribution.sh" "$build/app/SetUp.exe" "$work/dist" 2>/dev/null
package=$("$here/scripts/make-msi.sh" --check-action "$build/app/deploy-check-action.dll" \
  "$work/dist" "$work/msi")
plain=$work/plain.msi
cp "$package" "$plain"
# One action per query: libmsi (msitools 0.101) deletes only the first row that a WHERE with OR
# matches.
for action in CheckDeployArguments DeployMachine DeployMachineRollback DeployRemove; do
  msibuild "$plain" -q "DELETE FROM InstallExecuteSequence WHERE Action = '$action'"
done
if msiinfo export "$plain" InstallExecuteSequence | grep -q Deploy; then
  echo "bench-msi: the package without custom actions still has one" >&2
  exit 1
fi

# The machine, made once and copied for every run.
export WINEPREFIX=$work/template
"$here/scripts/load-demo-registry.sh" "$wine_run" "$here/tests/e2e/registry/install.reg"
"$wine_run" "$build/tests/e2e/driver/e2e-driver.exe" --dist "$(windows_path "$work/dist")" \
  "prepare:$here/tests/e2e/machine/acad-folders.txt" >/dev/null
"$wineserver" -w

# Wall time of one msiexec /i /qn, in ms, in a fresh copy of the machine; the server is warm.
install_ms() {
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work/prefix" && cp -a "$work/template" "$work/prefix"
  export WINEPREFIX=$work/prefix
  "$wine_run" reg query 'HKLM\Software' >/dev/null
  local start end code
  start=$(date +%s%N)
  "$wine_run" "$exit_code" msiexec /i "$(windows_path "$1")" /qn >"$work/code"
  end=$(date +%s%N)
  code=$(tr -d '\r' <"$work/code")
  if [ "$code" != 0 ]; then
    echo "bench-msi: msiexec /i $1 exited $code" >&2
    exit 1
  fi
  echo $(((end - start) / 1000000))
}
summary() {
  sort -n | awk '{ v[NR] = $1 } END { printf "median %d ms (%d to %d ms, %d runs)", v[int((NR + 1) / 2)], v[1], v[NR], NR }'
}
for i in $(seq "$runs"); do install_ms "$package" >>"$work/with-actions.txt"; done
for i in $(seq "$runs"); do install_ms "$plain" >>"$work/without-actions.txt"; done
"$wineserver" -k 2>/dev/null || true
echo "msiexec /i, the package:                    $(summary <"$work/with-actions.txt")"
echo "msiexec /i, the same files, no custom action: $(summary <"$work/without-actions.txt")"
