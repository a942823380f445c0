#!/usr/bin/env bash
# One end-to-end scenario: SetUp.exe on a seeded machine, driven by e2e-driver.exe.
#
#   run-e2e.sh --name NAME --wine-run BUILD/wine-run.sh --driver e2e-driver.exe
#              --setup SetUp.exe --work DIR --shots DIR [--registry FILE.reg ...]
#              [--before "STEP ..."] [--state-allowed FILE] -- DRIVER-ARGUMENTS...
#
# 1. A fresh Wine prefix DIR/NAME/prefix, copied from a template prefix that is booted once
#    (DIR/template-prefix) and set to a Wine virtual desktop, so Wine draws the window
#    captions that screenshots must show.
# 2. The registry files loaded into it (UTF-8 files, loaded with regedit).
# 3. A distribution folder DIR/NAME/dist (scripts/make-distribution.sh).
# 4. An X server of its own (Xvfb) for the run, and a watcher that photographs the screen
#    when the driver asks for it: shot "choosing" becomes SHOTS/NAME.png, any other shot
#    SHOTS/NAME-SHOT.png.
# 5. With --before, a first run of the driver with those steps (setting up the machine), after
#    which Wine's server is stopped so the registry files on disk are complete, and the whole
#    machine is recorded (state-diff.py).
# 6. e2e-driver.exe DRIVER-ARGUMENTS, given --dist and --shots, under a time limit.
# 7. With --state-allowed, the machine is recorded again the same way and every change outside
#    the places the file allows fails the scenario.
# On every way out the prefix's Wine processes, the watcher and the X server are ended; the
# prefix is removed when the scenario passed (E2E_KEEP_PREFIX=1 keeps it). The driver's log
# stays in DIR/NAME/driver.log.
set -euo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)

name= wine_run= driver= setup= work= shots=
registry=()
before_steps= state_allowed=
while [ $# -gt 0 ]; do
  case $1 in
    --name) name=$2; shift 2 ;;
    --wine-run) wine_run=$2; shift 2 ;;
    --driver) driver=$2; shift 2 ;;
    --setup) setup=$2; shift 2 ;;
    --work) work=$2; shift 2 ;;
    --shots) shots=$2; shift 2 ;;
    --registry) registry+=("$2"); shift 2 ;;
    --before) before_steps=$2; shift 2 ;;
    --state-allowed) state_allowed=$(realpath -m -- "$2"); shift 2 ;;
    --) shift; break ;;
    *) echo "run-e2e: unknown argument $1" >&2; exit 2 ;;
  esac
done
if [ -z "$name" ] || [ -z "$wine_run" ] || [ -z "$driver" ] || [ -z "$setup" ] ||
   [ -z "$work" ] || [ -z "$shots" ]; then
  echo "run-e2e: --name, --wine-run, --driver, --setup, --work and --shots are needed" >&2
  exit 2
fi

# Wine wants absolute paths, and the driver runs in another folder.
absolute() { realpath -m -- "$1"; }
wine_run=$(absolute "$wine_run") driver=$(absolute "$driver") setup=$(absolute "$setup")
work=$(absolute "$work") shots=$(absolute "$shots")
for i in "${!registry[@]}"; do
  registry[i]=$(absolute "${registry[i]}")
done

wineserver=/usr/lib/wine/wineserver64
driver_time_limit=${E2E_TIME_LIMIT:-180}

# A Unix path as Wine's drive Z: shows it.
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }

# The template prefix: booted once, then copied for every scenario (a copy takes a second or
# two, a boot 5 to 20). Scenarios may start at the same moment; one lock makes it once.
template=$work/template-prefix
mkdir -p "$work" "$shots"
(
  flock 9
  if [ ! -f "$template/.e2e-template-ready" ]; then
    rm -rf "$template"
    # No display while booting: nothing of the template may stay bound to an X server.
    export WINEPREFIX=$template
    env -u DISPLAY "$wine_run" reg add 'HKCU\Software\Wine\Explorer' \
      /v Desktop /d Default /f >/dev/null
    env -u DISPLAY "$wine_run" reg add 'HKCU\Software\Wine\Explorer\Desktops' \
      /v Default /d 1024x768 /f >/dev/null
    "$wineserver" -w
    touch "$template/.e2e-template-ready"
  fi
) 9>"$work/template-prefix.lock"

scenario=$work/$name
prefix=$scenario/prefix
sync=$scenario/sync
dist=$scenario/dist
log=$scenario/driver.log
if [ -n "$(ls -A "$scenario/prefix" 2>/dev/null)" ]; then
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
fi
# The screenshots of this scenario's last run go; those of scenarios whose names begin like
# this one's stay (both-branches and both-branches-bits32).
if [ -f "$scenario/shots.txt" ]; then
  while IFS= read -r old; do
    rm -f "$old"
  done <"$scenario/shots.txt"
fi
rm -rf "$scenario"
mkdir -p "$scenario" "$sync"
cp -a "$template" "$prefix"
"$here/scripts/make-distribution.sh" "$setup" "$dist"
# E2E_WITHOUT_DATA=1: SetUp.exe alone, as Windows runs it from inside a .zip file.
if [ "${E2E_WITHOUT_DATA:-0}" = 1 ]; then
  rm -rf "$dist/Data"
fi
# E2E_LARGE_DATA="COUNT SIZE": the package also holds COUNT files of SIZE (truncate's units),
# sparse here and written out whole by the copy: too much to copy within five seconds.
if [ -n "${E2E_LARGE_DATA:-}" ]; then
  read -r large_count large_size <<<"$E2E_LARGE_DATA"
  for i in $(seq "$large_count"); do
    truncate -s "$large_size" "$dist/Data/Large$i.dat"
  done
fi

xvfb= watcher= passed=0
cleanup() {
  if [ -n "$watcher" ]; then
    kill "$watcher" 2>/dev/null || true
    wait "$watcher" 2>/dev/null || true
  fi
  WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
  WINEPREFIX=$prefix timeout 20 "$wineserver" -w 2>/dev/null || true
  if [ -n "$xvfb" ]; then
    kill "$xvfb" 2>/dev/null || true
    wait "$xvfb" 2>/dev/null || true
  fi
  if [ "$passed" = 1 ] && [ "${E2E_KEEP_PREFIX:-0}" != 1 ]; then
    rm -rf "$prefix"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=scripts/xvfb.sh
. "$here/scripts/xvfb.sh"
start_xvfb "$scenario/display" run-e2e || exit 1
export WINEPREFIX=$prefix

if [ ${#registry[@]} -gt 0 ]; then
  timeout 60 "$here/scripts/load-demo-registry.sh" "$wine_run" "${registry[@]}"
fi
# E2E_DPI=N: Wine draws at N DPI (its LogPixels), on a virtual desktop that holds the dialog
# at that size. Both are read as Wine starts, so its server is stopped after the change.
if [ -n "${E2E_DPI:-}" ]; then
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$E2E_DPI" /f
  "$wine_run" reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1600x1280 /f
  "$wineserver" -k 2>/dev/null || true
  timeout 30 "$wineserver" -w 2>/dev/null || true
fi >/dev/null

# The screenshot watcher: answers each "<shot>.request" of the driver with a picture of the
# whole screen and "<shot>.done".
(
  while true; do
    for request in "$sync"/*.request; do
      [ -e "$request" ] || continue
      shot=$(basename "$request" .request)
      picture=$shots/$name-$shot.png
      [ "$shot" = choosing ] && picture=$shots/$name.png
      timeout 30 import -window root "$picture" 2>/dev/null || echo "run-e2e: import failed" >&2
      printf '%s\n' "$picture" >>"$scenario/shots.txt"
      rm -f "$request"
      touch "$sync/$shot.done"
    done
    sleep 0.2
  done
) &
watcher=$!

echo "run-e2e: scenario $name, display $DISPLAY, prefix $prefix"

# Stops every Wine process of the prefix and its server, which writes the registry to disk.
stop_wine() {
  "$wineserver" -k 2>/dev/null || true
  timeout 30 "$wineserver" -w 2>/dev/null || true
}
run_driver() {
  (
    cd "$dist"
    timeout -k 10 "$driver_time_limit" "$wine_run" "$driver" \
      --dist "$(windows_path "$dist")" --shots "$(windows_path "$sync")" "$@"
  ) >>"$log" 2>&1
}

rc=0
: >"$log"
state_verdict=0
if [ -n "$before_steps" ]; then
  # The first run gets the edition and the releases found (the first four driver arguments,
  # "--bits N --found LIST") and the steps given.
  # shellcheck disable=SC2086  # the steps are words
  run_driver "${@:1:4}" $before_steps || rc=$?
  stop_wine
  python3 "$here/tests/e2e/state-diff.py" snapshot "$prefix" "$scenario/before.json"
fi
if [ "$rc" = 0 ]; then
  run_driver "$@" || rc=$?
fi
if [ "$rc" = 0 ] && [ -n "$state_allowed" ]; then
  stop_wine
  python3 "$here/tests/e2e/state-diff.py" snapshot "$prefix" "$scenario/after.json"
  python3 "$here/tests/e2e/state-diff.py" diff "$scenario/before.json" "$scenario/after.json" \
    "$state_allowed" >"$scenario/state.txt" || state_verdict=1
fi
# The driver writes code page 936; the log is shown as UTF-8.
iconv -f CP936 -t UTF-8 -c "$log" || cat "$log"
if [ "$rc" = 124 ] || [ "$rc" = 137 ]; then
  echo "run-e2e: the driver did not finish within ${driver_time_limit} s"
fi
if [ -f "$scenario/shots.txt" ]; then
  while IFS= read -r picture; do
    echo "run-e2e: screenshot $picture"
  done <"$scenario/shots.txt"
fi
if [ -s "$scenario/state.txt" ]; then
  cat "$scenario/state.txt"
fi
# Every run of the driver ends with its own summary line, and each must be clean.
summaries=$(grep -c '^e2e-driver: ' "$log" || true)
clean=$(grep -c '^e2e-driver: [0-9]* passed, 0 failed' "$log" || true)
if [ "$rc" = 0 ] && [ "$state_verdict" = 0 ] && [ "$summaries" -gt 0 ] &&
   [ "$clean" = "$summaries" ]; then
  passed=1
  echo "run-e2e: $name passed"
  exit 0
fi
echo "run-e2e: $name FAILED (driver exit code $rc)"
exit 1
