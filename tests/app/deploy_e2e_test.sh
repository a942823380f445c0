#!/usr/bin/env bash
# zelvar-deploy.exe on the demo machine under Wine, in a fresh prefix: machine, user, remove.
# After each run the whole prefix (registry and drive C:) is compared with the changes expected
# of it (tests/app/deploy/*.txt, "#" lines are comments), remove with the prefix before
# machine. A bad argument first changes nothing at all and exits 2.
#   deploy_e2e_test.sh WINE_RUN EXE PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
wine_run=$1 exe=$2
export WINEPREFIX=$3
wineserver=/usr/lib/wine/wineserver64
rm -rf "$WINEPREFIX"
"$here/scripts/load-demo-registry.sh" "$wine_run"
work=$(mktemp -d)
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$work"' EXIT

# The product folder as the package leaves it, and the AutoCAD folders of the demo registry
# that exist on this drive: Fonts for 2008 and the Chinese 2010, and 2008's own plot driver.
drive=$WINEPREFIX/drive_c
product='C:\Program Files\Zelvar批打印软件'
acad2008="$drive/Program Files (x86)/AutoCAD 2008"
mkdir -p "$drive/Program Files/Zelvar批打印软件" "$acad2008/Fonts" "$acad2008/Drv" \
         "$drive/Program Files/AutoCAD 2010 - 简体中文/Fonts"
printf 'AutoCAD driver' >"$acad2008/Drv/pdfplot9.hdi"
cp "$exe" "$drive/Program Files/Zelvar批打印软件/zelvar-deploy.exe"
for file in Zelvar_EN.shx Zelvar_HZ.shx Zelvar.prt5 Zelvar.Ini.default; do
  printf '%s' "$file" >"$drive/Program Files/Zelvar批打印软件/$file"
done

# The tool's run with the exit code it must end with; standard error is code page 936.
deploy() {
  local expected_exit=$1 status=0
  shift
  "$wine_run" "$product\\zelvar-deploy.exe" "$@" 2>"$work/stderr" || status=$?
  if [ "$status" -ne "$expected_exit" ]; then
    echo "zelvar-deploy $*: exit $status, not $expected_exit" >&2
    iconv -f CP936 -t UTF-8 -c "$work/stderr" >&2
    exit 1
  fi
}

failed=0
# Snapshot $1 (the registry files are complete once the prefix's server has ended), and its
# changes from snapshot $2 against the reviewed list $1.txt, the prefix's user named %USER%.
# Wine's display driver records the adapter's driver date at every start: Wine's own.
snapshot() {
  "$wineserver" -k 2>/dev/null || true
  timeout 30 "$wineserver" -w 2>/dev/null || true
  python3 "$here/tests/e2e/state-diff.py" snapshot "$WINEPREFIX" "$work/$1.json"
  [ $# -eq 2 ] || return 0
  python3 "$here/tests/e2e/state-diff.py" changes "$work/$2.json" "$work/$1.json" |
    grep -v '\\0000 \[DriverDateData\]$' |
    sed "s|\\\\users\\\\$(id -un)\\\\|\\\\users\\\\%USER%\\\\|" |
    grep -v "${unsteady:-^$}" >"$work/changes" || true
  grep -v '^#' "$here/tests/app/deploy/$1.txt" >"$work/expected" || true
  diff -u "$work/expected" "$work/changes" || { echo "deploy e2e: $1.txt differs" >&2; failed=1; }
}

snapshot start
deploy 2 user --folder 'C:\Program Files\Missing'
grep -q 'the folder does not exist' "$work/stderr" || { echo "deploy e2e: no reason" >&2; exit 1; }
snapshot nothing start
deploy 0 machine --folder "$product" --releases all --log 'C:\zelvar-deploy.log'
snapshot machine nothing
deploy 0 user --folder "$product" --log 'C:\zelvar-deploy.log'
snapshot user machine

# AutoCAD 2021's view at its next start: its demand-load key names the module in the product
# folder, and its profile trusts the folder beside the entry that was there.
query() {
  "$wine_run" reg query "$1" /v "$2" | iconv -f CP936 -t UTF-8 -c | tr -d '\r' | grep -F "$2"
}
acad2021='Software\Autodesk\AutoCAD\R24.0\ACAD-4101:804'
query "HKLM\\$acad2021\\Applications\\ZV_BatchPlot2021" LOADER | grep -qF "$product\\ZV_" ||
  { echo "deploy e2e: AutoCAD 2021's LOADER names no module of the product folder" >&2; failed=1; }
query "HKCU\\$acad2021\\Profiles\\<<未命名配置>>\\Variables" TRUSTEDPATHS |
  grep -qiF "D:\\Tools\\Lisp;$product" ||
  { echo "deploy e2e: AutoCAD 2021's profile does not trust the product folder" >&2; failed=1; }

deploy 0 remove --folder "$product" --log 'C:\zelvar-deploy.log'
# AutoCAD's own driver is back, told by its content: its time survives the two copies (kept,
# put back) only to the 100 ns of Windows' file times, so whether the diff sees it changed
# depends on the nanoseconds it was written at.
[ "$(cat "$acad2008/Drv/pdfplot9.hdi")" = 'AutoCAD driver' ] ||
  { echo "deploy e2e: AutoCAD 2008's own plot driver is not back" >&2; failed=1; }
unsteady='AutoCAD 2008\\Drv\\pdfplot9.hdi$' snapshot removed nothing
[ "$failed" -eq 0 ] || exit 1
echo "deploy e2e: machine, user and remove changed what they should, a bad argument nothing"
