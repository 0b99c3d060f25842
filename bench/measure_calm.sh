#!/bin/bash
# How calm the program is: the time from process start to the main window
# shown, and the processor time it uses over 10 seconds idle after start-up
# and over 10 seconds of a run of the default scenario with the map and
# mini-map open. Runs the built program under a private Xvfb and drives the
# menu with xdotool (apt-get install xvfb xdotool).
#
#   bench/measure_calm.sh [PROGRAM]      (default: build/app/wendo)
set -euo pipefail
program=$(realpath "${1:-build/app/wendo}")
display=:$((90 + RANDOM % 100))

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill "$app" "$xvfb" 2>/dev/null || true' EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
measure() {  # label seconds
  local before after
  before=$(cpu_ticks "$app")
  sleep "$2"
  after=$(cpu_ticks "$app")
  awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$2" -v l="$1" \
    'BEGIN { printf "%-34s %6.2f %% of one core (%d ticks in %d s)\n", l, 100 * t / hz / s, t, s }'
}
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.4; }

start=$(date +%s%N)
"$program" &
app=$!
until xdotool search --onlyvisible --name '^Wendo$' >/dev/null 2>&1; do sleep 0.005; done
shown=$(date +%s%N)
awk -v ns=$((shown - start)) 'BEGIN { printf "%-34s %6.0f ms\n", "start-up to the main window shown", ns / 1e6 }'

sleep 2
measure "idle after start-up" 10

# "Okna" > "Mapa", "Okna" > "Mini Mapa", then "Symulacja" > "Wznów".
window=$(xdotool search --onlyvisible --name '^Wendo$' | head -1)
eval "$(xdotool getwindowgeometry --shell "$window")"
click $((X + 174)) $((Y + 8)); click $((X + 200)) $((Y + 28))
click $((X + 174)) $((Y + 8)); click $((X + 200)) $((Y + 50))
click $((X + 114)) $((Y + 8)); click $((X + 134)) $((Y + 28))
sleep 2
measure "a run of the default scenario" 10
ps -o rss= -p "$app" | awk '{ printf "%-34s %6.1f MB\n", "resident memory", $1 / 1024 }'
# A look at the screen at the end, if asked for.
if [ -n "${WENDO_CALM_SHOT:-}" ]; then import -window root "$WENDO_CALM_SHOT"; fi
