#!/usr/bin/env bash
# The Windows Installer package under Wine, each scenario in a fresh prefix with the AutoCAD
# machine of the end-to-end tests (tests/e2e: install.reg, acad-folders.txt):
#   msi_test.sh --wine-run W --exit-code EXE --driver EXE --setup EXE --check-action DLL
#               --work DIR
# The packages are built here (scripts/make-msi.sh), the current one and an older one. Machine
# checks go through e2e-driver.exe (prepare:/check: files, see tests/e2e/driver/machine_state.h);
# whole-prefix changes through tests/e2e/state-diff.py against the places files beside this one.
set -Eeuo pipefail
# A step that stops the script says which, with its status: ctest shows only this output.
trap 'echo "msi_test: line $LINENO: \"$BASH_COMMAND\" exited $?${scenario:+ in $scenario}" >&2' ERR
here=$(cd "$(dirname "$0")/../.." && pwd)
tests=$here/tests/packaging
e2e=$here/tests/e2e

while [ $# -gt 0 ]; do
  case $1 in
    --wine-run) wine_run=$2 ;;
    --exit-code) exit_code=$2 ;;
    --driver) driver=$2 ;;
    --setup) setup=$2 ;;
    --check-action) check_action=$2 ;;
    --work) work=$2 ;;
    *) echo "msi_test: unknown argument $1" >&2; exit 2 ;;
  esac
  shift 2
done
wineserver=/usr/lib/wine/wineserver64
unset DISPLAY
rm -rf "$work"
mkdir -p "$work/cwd"
work=$(realpath "$work")
# Wine's processes start in the current folder: the test's own, which stays empty, never the
# source tree (a relative INSTALLFOLDER must not land anywhere).
cd "$work/cwd"
windows_path() { printf 'Z:%s' "$(realpath -m "$1")" | tr '/' '\\'; }

"$here/scripts/make-distribution.sh" "$setup" "$work/dist" 2>/dev/null
build() { "$here/scripts/make-msi.sh" --check-action "$check_action" "$@" "$work/dist" "$work/msi"; }
package=$(build)
old_package=$(build --version 20240101)
property() { msiinfo export "$1" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
folder='C:\Program Files\Autodesk\ApplicationPlugins\Zelvar批打印软件'

# The template prefix, booted once; every scenario starts from a copy.
WINEPREFIX=$work/template "$wine_run" reg add 'HKCU\Software\Zelvar-test' /f >/dev/null
WINEPREFIX=$work/template "$wineserver" -w

failures=0
fail() { echo "msi_test: FAIL $scenario: $*"; failures=$((failures + 1)); }
stop_wine() { "$wineserver" -k 2>/dev/null || true; timeout 30 "$wineserver" -w 2>/dev/null || true; }

# A fresh prefix NAME with the AutoCAD machine, recorded as it is before the package.
begin() {
  scenario=$1
  export WINEPREFIX=$work/$scenario
  cp -a "$work/template" "$WINEPREFIX"
  "$here/scripts/load-demo-registry.sh" "$wine_run" "$e2e/registry/install.reg"
  machine "prepare:$e2e/machine/acad-folders.txt"
  if [ -n "${2:-}" ]; then "$2"; fi
  stop_wine
  python3 "$e2e/state-diff.py" snapshot "$WINEPREFIX" "$work/$scenario.before.json"
}
# The driver's prepare: and check: steps.
machine() {
  "$wine_run" "$driver" --dist "$(windows_path "$work/dist")" "$@" >"$work/$scenario.driver.log" 2>&1 ||
    fail "$(iconv -f CP936 -t UTF-8 -c "$work/$scenario.driver.log" | grep -v PASS)"
}
# Runs a Windows command line and checks its real exit code. Wine's CreateProcess has answered
# a start with error 1359 under load (the new process ended before Wine had set it up): such a
# start, which ran nothing, is tried once more.
expect() {
  local wanted=$1 code retried=
  shift
  while :; do
    "$wine_run" "$exit_code" "$@" >"$work/$scenario.code" 2>/dev/null || true
    code=$(tr -d '\r' <"$work/$scenario.code")
    [ "$code" = "exit-code: cannot start it (1359)" ] && [ -z "$retried" ] || break
    retried=yes
    echo "msi_test: Wine could not set up $1 (error 1359); started once more"
  done
  [[ " $wanted " == *" $code "* ]] || fail "$* exited ${code:-nothing}, not $wanted"
}
msiexec() { expect "$1" msiexec "${@:2}" /qn /l*v "$(windows_path "$work/$scenario.msi.log")"; }
# Every change since begin() lies in the places of the files named (beside this script).
changes_within() {
  stop_wine
  python3 "$e2e/state-diff.py" snapshot "$WINEPREFIX" "$work/$scenario.after.json"
  (cd "$tests" && cat windows-installer-places.txt "$@") >"$work/$scenario.allowed.txt"
  python3 "$e2e/state-diff.py" diff "$work/$scenario.before.json" "$work/$scenario.after.json" \
    "$work/$scenario.allowed.txt" >"$work/$scenario.state.txt" || fail "$(cat "$work/$scenario.state.txt")"
}
# A logon of the prefix's user: Active Setup runs the component's StubPath.
logon() {
  "$wine_run" reg query 'HKLM\Software\Microsoft\Active Setup\Installed Components\{474ABC35-1B0C-41D3-BC1F-3BAB68299AB1}' \
    /v StubPath >"$work/$scenario.stub" 2>/dev/null || true
  local stub
  stub=$(iconv -f CP936 -t UTF-8 "$work/$scenario.stub" | tr -d '\r' | sed -n 's/^ *StubPath *REG_SZ *//p')
  [ -n "$stub" ] || { fail "no StubPath"; return; }
  eval "expect 0 $stub"
}

# Installed for every user: the prefix changes only in the package's places; at the next logon
# AutoCAD's view of every found product loads the module from a trusted folder; removed, the
# prefix is as before apart from what stays on purpose.
begin install
msiexec 0 /i "$(windows_path "$package")"
changes_within installed.txt
logon
machine "check:$tests/logged-on.txt"
msiexec 0 /x "$(windows_path "$package")"
changes_within removed.txt

# A major upgrade from an older version: one entry in installed apps, the newer one's, Active
# Setup's Version raised so every user gets the newer per-user part, registered again. The user
# has never started AutoCAD 2021: its folder trusts the module, and the logon makes nothing of
# AutoCAD's own.
never_started_2021() { "$wine_run" reg delete 'HKCU\SOFTWARE\Autodesk\AutoCAD\R24.0' /f >/dev/null; }
begin upgrade never_started_2021
msiexec 0 /i "$(windows_path "$old_package")"
msiexec 0 /i "$(windows_path "$package")"
logon
version=$(sed -n 's/.*setupVersion = \([0-9]\{4\}\)\([0-9][0-9]\)\([0-9][0-9]\);.*/\1,\2,\3,0/p' \
  "$here/install/product_identity.h" | sed 's/,0\([1-9]\)/,\1/g')
entry="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$(property "$package" ProductCode)"
cat >"$work/upgraded.txt" <<EOF
sz	$entry	DisplayName	Zelvar批打印软件
sz	$entry	Publisher	Zelvar
sz	$entry	DisplayVersion	$(property "$package" ProductVersion)
sz	$entry	InstallLocation	$folder\\
dword	$entry	NoModify	1
dword	$entry	NoRepair	1
nokey	HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\\$(property "$old_package" ProductCode)
sz	HKLM\Software\Microsoft\Active Setup\Installed Components\{474ABC35-1B0C-41D3-BC1F-3BAB68299AB1}	Version	$version
sz	HKLM\SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804\Applications\ZV_BatchPlot2010	LOADER	$folder\ZV_BatchPlot2010.ARX
acad-view	SOFTWARE\Autodesk\AutoCAD\R24.0\ACAD-4101:804	ZV_BatchPlot2021	C:\Program Files\Autodesk\AutoCAD 2021	C:\Program Files\Autodesk\ApplicationPlugins
nokey	HKCU\SOFTWARE\Autodesk\AutoCAD\R24.0
EOF
machine "check:$work/upgraded.txt"

# The tool is refused a demand-load key (its security denies new values; a sub-key keeps it
# from being deleted and made anew): the installation rolls back, Wine answers 1627 (Windows
# 1603), and the prefix is as before but for what a removal leaves too. Wine keeps a key's
# security only while its server runs.
refused='HKLM\SOFTWARE\Autodesk\AutoCAD\R18.0\ACAD-8001:804\Applications\ZV_BatchPlot2010'
kept_sub_key() { "$wine_run" reg add "$refused\Kept" /f >/dev/null; }
begin rollback kept_sub_key
"$wineserver" -p
printf 'deny-values\t%s\n' "$refused" >"$work/key-refused.txt"
machine "prepare:$work/key-refused.txt"
msiexec "1603 1627" /i "$(windows_path "$package")"
changes_within removed.txt

# Bad properties: refused with the tool's message in the log, before anything changes.
begin bad-properties
for property in RELEASES=abc INSTALLFOLDER=Zelvar 'INSTALLFOLDER=C:\%WINDIR%\Zelvar批打印软件'; do
  msiexec 1603 /i "$(windows_path "$package")" "$property"
  grep -aq '^zelvar-deploy: ' "$work/$scenario.msi.log" || fail "$property: no message of the tool in the log"
done
changes_within
[ -z "$(ls -A "$work/cwd")" ] || fail "files in the current folder: $(ls -A "$work/cwd")"

stop_wine
if [ "$failures" -gt 0 ]; then
  echo "msi_test: $failures failed (logs in $work)"
  exit 1
fi
echo "msi_test: passed"
