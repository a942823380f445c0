# Sourced by the scripts that run windows on an X server of their own:
#   start_xvfb DISPLAYFILE WHO
# starts Xvfb on a free display (Xvfb picks it and names it once it accepts connections),
# sets xvfb to its process id and exports DISPLAY; WHO names the caller in an error.
# XVFB_SCREEN sets the screen's size and depth (1024x768x24 unless given).
start_xvfb() {
  local displayfile=$1 who=$2
  Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do
    [ -s "$displayfile" ] && break
    sleep 0.1
  done
  if [ ! -s "$displayfile" ]; then
    echo "$who: Xvfb did not start" >&2
    return 1
  fi
  DISPLAY=":$(head -n1 "$displayfile")"
  export DISPLAY
}
