# What the scripts that drive the program under a private Xvfb share, to be
# sourced after `program` and the screen size are known:
#   xvfb_session_begin             checks the X tools (exit 77 without them),
#                                  makes $work, and cleans up on exit;
#   xvfb_session_start WxH         a display of its own with openbox, the
#                                  program started on it, its main window's
#                                  place in X and Y;
#   fail, boot_ms, shot NAME, menu TITLE_X, item TITLE_X N  for the steps.
# WENDO_XVFB_SHOTS=DIR keeps screenshots along the way.

xvfb_session_begin() {
  for tool in Xvfb openbox xdotool xwininfo xwd md5sum; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
  done
  work=$(mktemp -d)
  trap xvfb_session_cleanup EXIT
  failures=0
}

xvfb_session_cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}

fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
boot_ms() { awk '{ printf "%d\n", $1 * 1000 }' /proc/uptime; }
shot() {
  [ -n "${WENDO_XVFB_SHOTS:-}" ] || return 0
  mkdir -p "$WENDO_XVFB_SHOTS"
  if command -v import >/dev/null; then import -window root "$WENDO_XVFB_SHOTS/$1.png"; else xwd -root -silent > "$WENDO_XVFB_SHOTS/$1.xwd"; fi
}

# Menu titles on the menu bar, and the n-th item of an open menu below one.
menu() { xdotool mousemove $((X + $1)) $((Y + 9)) click 1; sleep 0.6; }
item() { xdotool mousemove $((X + $1 + 20)) $((Y + 9 + 22 * $2)) click 1; sleep 0.6; }
PLIK=20 SYMULACJA=114 OKNA=174 ANALIZA=222

xvfb_session_start() {  # screen size, as 1366x768
  # A display of its own, on the first free number.
  exec 3> "$work/display"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp > "$work/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 200); do [ -s "$work/display" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -1 "$work/display")"
  export QT_QPA_PLATFORM=xcb
  openbox --sm-disable > "$work/openbox.log" 2>&1 &
  wm=$!
  sleep 1

  "$program" > "$work/program.log" 2>&1 &
  app=$!
  main=$(timeout 60 xdotool search --sync --onlyvisible --name '^Wendo$' | head -1 || true)
  [ -n "$main" ] || { cat "$work/program.log"; echo "0 passed, 1 failed"; exit 1; }
  sleep 1
  eval "$(xwininfo -id "$main" | awk '/Absolute upper-left X/ { print "X=" $NF } /Absolute upper-left Y/ { print "Y=" $NF }')"
}
