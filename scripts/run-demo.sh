#!/usr/bin/env bash
# Builds the 64-bit Windows edition and runs SetUp.exe under Wine on a demo machine: a fresh
# Wine prefix holding the demo AutoCAD registry (several releases in both registry branches,
# Chinese and English products, two user profiles) and the AutoCAD folders on drive C:, and a
# demo distribution (SetUp.exe beside a Data folder with a placeholder package and
# UnInstall.exe).
#
# With a display (DISPLAY set) the dialog opens there and you install by clicking. Without
# one, the program runs on an X server of its own and the test driver clicks Install for you;
# screenshots of the dialog before and after land in build/win64/screenshots/demo*.png.
# Either way the script then lists what the installation left in the prefix, the entry in
# installed apps among it.
#
#   scripts/run-demo.sh --uninstall
# takes the plug-in out of that same demo prefix again as installed apps does: it starts the
# entry's UninstallString (the product folder's UnInstall.exe). With a display you answer its
# messages; without one the test driver answers Yes and OK and the messages are photographed
# into build/win64/screenshots/demo-uninstall-confirm.png and demo-uninstall-done.png. Then
# it lists what is left.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"

mode=install
case ${1:-} in
  '') ;;
  --uninstall) mode=uninstall ;;
  *)
    echo "usage: $0 [--uninstall]" >&2
    exit 2
    ;;
esac

build=$here/build/win64
wine_run=$build/wine-run.sh
driver=$build/tests/e2e/driver/e2e-driver.exe
wineserver=/usr/lib/wine/wineserver64
work=$build/demo
prefix=$work/demo/prefix
dist=$work/demo/dist
shots=$build/screenshots
entry='Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvar批打印软件'
active_setup='Software\Microsoft\Active Setup\Installed Components\{8C3E5F1A-2B7D-4E69-9A0C-5D4F3B2E1A07}'

if [ "$mode" = uninstall ] && [ ! -f "$prefix/system.reg" ]; then
  echo "run-demo: no demo prefix at $prefix; run scripts/run-demo.sh first" >&2
  exit 1
fi

scripts/bootstrap.sh
cmake --preset win64 >/dev/null
if [ "$mode" = install ]; then
  cmake --build --preset win64 --target SetUp UnInstall e2e-driver
else
  cmake --build --preset win64 --target e2e-driver
fi

# reg query's output, in code page 936, as UTF-8 lines without blank ones.
reg_query() {
  local text
  text=$("$wine_run" reg query "$@" 2>/dev/null) || return 0
  printf '%s\n' "$text" | iconv -f CP936 -t UTF-8 -c | tr -d '\r' | grep -v '^$' || true
}
# A key's values under a heading, or the line saying it is not there.
show_key() {
  local found
  found=$(reg_query "$1")
  if [ -n "$found" ]; then
    echo "  $2:"
    printf '%s\n' "$found" | sed 's/^/    /'
  else
    echo "  $3"
  fi
}

# The files of the users' folders that match the pattern given, as Windows paths.
users() {
  (
    cd "$prefix/drive_c/users" || exit 0
    shopt -s nullglob
    # shellcheck disable=SC2206  # the pattern is meant to be expanded here
    local files=($1)
    [ ${#files[@]} -eq 0 ] || printf 'C:\\users\\%s\n' "${files[@]//\//\\}"
  ) | sed 's/^/    /'
}

# What the product has in the prefix: the product folder, the settings file, the entry in
# installed apps, every demand-load key of the plug-in and every profile's TRUSTEDPATHS.
list_product() {
  local product="$prefix/drive_c/Zelvar/Zelvar批打印软件" root found
  if [ -d "$product" ]; then
    echo "  C:\\Zelvar\\Zelvar批打印软件:"
    ls -A "$product" | sed 's/^/    /'
  elif [ -d "$prefix/drive_c/Zelvar" ]; then
    echo "  no product folder; C:\\Zelvar holds: $(ls -A "$prefix/drive_c/Zelvar" | tr '\n' ' ')"
  else
    echo "  no product folder, no C:\\Zelvar"
  fi
  found=$(users '*/AppData/Roaming/Zelvar/*')
  if [ -n "$found" ]; then
    echo "  %APPDATA%\\Zelvar:"
    printf '%s\n' "$found"
  else
    echo "  nothing in %APPDATA%\\Zelvar"
  fi
  found=$(users '*/Temp/ZelvarUninstall-*')
  if [ -n "$found" ]; then
    echo "  the uninstaller's copies in %TEMP% (Windows' clean-up removes them):"
    printf '%s\n' "$found"
  fi
  show_key "HKLM\\$active_setup" \
    "Active Setup's component (the other users' part, at their next logon)" \
    "no Active Setup component"
  for root in HKLM HKCU; do
    show_key "$root\\$entry" "the entry in installed apps" "no entry in installed apps under $root"
  done
  echo "  demand-load keys of the plug-in:"
  found=$(for key in 'HKLM\SOFTWARE\Autodesk\AutoCAD' 'HKLM\SOFTWARE\Wow6432Node\Autodesk\AutoCAD' \
                     'HKCU\SOFTWARE\Autodesk\AutoCAD'; do
    reg_query "$key" /s | awk '
      /^[^ ]/ { show = $0 ~ /\\Applications\\ZV_BatchPlot[^\\]*$/; if (show) print; next }
      show && /LOADER/ { print "  " $0 }'
  done)
  printf '%s\n' "${found:-none}" | sed 's/^/    /'
  echo "  TRUSTEDPATHS of the profiles:"
  reg_query 'HKCU\SOFTWARE\Autodesk\AutoCAD' /s | awk '
    function close_key() { if (key != "" && !seen) print "      no TRUSTEDPATHS value" }
    /^[^ ]/ { close_key(); key = ""; seen = 0
              if ($0 ~ /\\Profiles\\[^\\]*\\Variables$/) { key = $0; print } next }
    key != "" && /TRUSTEDPATHS/ { seen = 1; print "  " $0 }
    END { close_key() }' | sed 's/^/    /'
}

if [ "$mode" = uninstall ]; then
  export WINEPREFIX=$prefix
  "$wineserver" -k 2>/dev/null || true
  if [ -n "${DISPLAY:-}" ]; then
    # The driver starts the entry's UninstallString as installed apps do and ends; the
    # uninstaller's copy of itself goes on, and the prefix's server ends once it has ended.
    echo "run-demo: UnInstall.exe is starting on $DISPLAY; answer its messages to go on"
    log=$work/demo-uninstall.log
    status=0
    (cd "$dist" && "$wine_run" "$driver" --dist . --bits 64 uninstall-start) >"$log" 2>&1 ||
      status=$?
    if [ "$status" = 0 ]; then
      "$wineserver" -w
    else
      iconv -f CP936 -t UTF-8 -c "$log" || cat "$log"
    fi
  else
    scenario=$work/demo-uninstall
    sync=$scenario/sync
    rm -rf "$scenario"
    mkdir -p "$sync" "$shots"
    rm -f "$shots"/demo-uninstall-*.png
    xvfb='' watcher=''
    stop() {
      [ -z "$watcher" ] || kill "$watcher" 2>/dev/null || true
      "$wineserver" -k 2>/dev/null || true
      timeout 20 "$wineserver" -w 2>/dev/null || true
      [ -z "$xvfb" ] || kill "$xvfb" 2>/dev/null || true
    }
    trap stop EXIT
    # shellcheck source=scripts/xvfb.sh
    . scripts/xvfb.sh
    start_xvfb "$scenario/display" run-demo
    # The driver's screenshot requests, answered with pictures of the whole screen.
    (
      while true; do
        for request in "$sync"/*.request; do
          [ -e "$request" ] || continue
          shot=$(basename "$request" .request)
          timeout 30 import -window root "$shots/demo-$shot.png" 2>/dev/null || true
          rm -f "$request"
          touch "$sync/$shot.done"
        done
        sleep 0.2
      done
    ) &
    watcher=$!
    status=0
    (cd "$dist" && timeout -k 10 300 "$wine_run" "$driver" --dist . --bits 64 \
       --shots "Z:$(printf '%s' "$sync" | tr '/' '\\')" \
       uninstall-start uninstall-expect:confirm uninstall-shot:uninstall-confirm \
       uninstall-answer:yes uninstall-expect:done uninstall-shot:uninstall-done \
       uninstall-answer:ok uninstall-wait-end) >"$scenario/driver.log" 2>&1 || status=$?
    iconv -f CP936 -t UTF-8 -c "$scenario/driver.log" || cat "$scenario/driver.log"
    stop
    trap - EXIT
    for picture in "$shots"/demo-uninstall-*.png; do
      [ ! -e "$picture" ] || echo "run-demo: screenshot $picture"
    done
  fi
  echo
  echo "run-demo: what is left of the product in the demo prefix ($prefix):"
  list_product
  exit "$status"
fi

if [ -n "${DISPLAY:-}" ]; then
  export WINEPREFIX=$prefix
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$work/demo"
  mkdir -p "$prefix"
  scripts/load-demo-registry.sh "$wine_run"
  scripts/make-distribution.sh "$build/app/SetUp.exe" "$dist" "$build/app/UnInstall.exe"
  # The AutoCAD folders, made the way the test driver makes them.
  (cd "$dist" && "$wine_run" "$driver" --dist . \
     prepare:"$here/demo/acad-demo-folders.txt" >/dev/null) || true
  echo "run-demo: SetUp.exe is open on $DISPLAY; install, or cancel, to go on"
  (cd "$dist" && "$wine_run" "$dist/SetUp.exe")
else
  E2E_KEEP_PREFIX=1 tests/e2e/run-e2e.sh --name demo --wine-run "$wine_run" \
    --driver "$driver" --setup "$build/app/SetUp.exe" \
    --work "$work" --shots "$shots" --registry "$here/demo/acad-demo-registry.reg" \
    -- --bits 64 --found 2008,2009,2010,2014,2021,2024 \
    launch prepare:"$here/demo/acad-demo-folders.txt" shot:choosing click-install \
    wait-finished shot:finished end-finish
  export WINEPREFIX=$prefix
fi

echo
echo "run-demo: what the installation left in the demo prefix ($prefix):"
list_product
echo "run-demo: scripts/run-demo.sh --uninstall takes it out again"
