#!/bin/bash
# The two analysis windows as a user drives them, under a private Xvfb
# (1366 x 768) with openbox: loads a scenario whose step comes every
# millisecond, runs it for a while alone and then beside an experiment of
# thousands of runs started from "Analiza" > "Eksperyment…", and checks that
#  - the live run keeps at least half its pace beside the experiment (steps
#    per second of both stretches are printed),
#  - the statistics window keeps changing at least once a second while
#    both work, and the experiment's window within 1.5 s (it shows its
#    progress and the time left, which may move by the second only),
#  - "Analiza" > "Doradca…" starts a search whose window changes within
#    1.5 s as well (its time so far, at the least),
#  - closing the main window during both ends the program within 2 s with
#    exit status 0.
# Exits 77 (skipped) when the X tools are missing.
#
#   analysis_under_xvfb.sh PROGRAM [RUN_SECONDS]
# WENDO_XVFB_SHOTS=DIR keeps screenshots (PNG) along the way.
set -euo pipefail
program=$(realpath "$1")
run_seconds=${2:-8}
. "$(dirname "$0")/xvfb_session.sh"
xvfb_session_begin

# The default scenario but for a step every millisecond, and no objects.
printf '%s\n' 1 1000 10 40 20 50 15 5 30 300 0 0 > "$work/pace.wnd"

xvfb_session_start 1366x768

window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1 || true; }
choose() {  # menu item window-name
  for _ in 1 2 3; do
    menu "$1"; item "$1" "$2"
    for _ in $(seq 20); do
      [ -n "$(window "$3")" ] && return 0
      sleep 0.1
    done
  done
  fail "no \"$3\" window"
}
# The longest time in ms, over SECONDS, between two changes of a window's picture.
longest_still() {  # window-id seconds
  local started last_change last_hash="" longest=0 hash now
  started=$(boot_ms); last_change=$started
  while [ $(($(boot_ms) - started)) -lt $(($2 * 1000)) ]; do
    hash=$(xwd -id "$1" -silent 2>/dev/null | md5sum)
    now=$(boot_ms)
    if [ "$hash" != "$last_hash" ]; then
      [ -n "$last_hash" ] && [ $((now - last_change)) -gt "$longest" ] && longest=$((now - last_change))
      last_change=$now; last_hash=$hash
    fi
    [ $((now - last_change)) -gt "$longest" ] && longest=$((now - last_change))
    sleep 0.1
  done
  echo "$longest"
}
# Steps per second between the last "resumed" and the last "paused" line.
pace() {
  awk '/^resumed at/ { t0 = $3; s0 = $5 } /^paused at/ { t1 = $3; s1 = $5 } END { if (t1 > t0) printf "%d\n", (s1 - s0) * 1000 / (t1 - t0); else print 0 }' "$work/program.log"
}
wait_paused() {  # how many "paused" lines to wait for
  for _ in $(seq 300); do [ "$(grep -c '^paused at' "$work/program.log")" -ge "$1" ] && return 0; sleep 0.1; done
  fail "\"Wstrzymaj\" did not take effect"
}

# "Plik" > "Wczytaj" the scenario.
menu $PLIK; item $PLIK 2
dialog=$(timeout 30 xdotool search --sync --onlyvisible --name '^Wczytaj$' | head -1 || true)
[ -n "$dialog" ] || fail "no file dialog"
[ -n "$dialog" ] && { xdotool windowactivate --sync "$dialog" 2>/dev/null || true; }
xdotool type --delay 10 "$work/pace.wnd"
xdotool key Return
for _ in $(seq 100); do [ -z "$(window Wczytaj)" ] && break; sleep 0.1; done
sleep 1

# The run alone.
choose $SYMULACJA 1 Statystyki
sleep "$run_seconds"
menu $SYMULACJA; item $SYMULACJA 2
wait_paused 1
alone=$(pace)
echo "the live run alone: $alone steps per second"

# An experiment of 60 000 runs: Tab from the first parameter to the seeds,
# 2 000 of them for each of the 5 values of the first parameter, Enter starts.
choose $ANALIZA 1 Eksperyment
experiment=$(window Eksperyment)
xdotool windowactivate --sync "$experiment" 2>/dev/null || true
xdotool key --delay 50 Tab Tab Tab Tab Tab Tab
xdotool key ctrl+a
xdotool type --delay 20 "12000"
xdotool key Return
sleep 1
shot experiment

menu $SYMULACJA; item $SYMULACJA 1  # "Wznów"
sleep 0.5
stats=$(window Statystyki)
still_stats=$(longest_still "$stats" "$run_seconds")
menu $SYMULACJA; item $SYMULACJA 2
wait_paused 2
beside=$(pace)
echo "the live run beside the experiment: $beside steps per second"
echo "statistics window: longest time without a change $still_stats ms"
[ "$beside" -ge $((alone / 2)) ] || fail "the live run fell from $alone to $beside steps per second"
[ "$still_stats" -le 1000 ] || fail "the statistics window stood still for $still_stats ms"
still_experiment=$(longest_still "$experiment" 3)
echo "experiment window: longest time without a change $still_experiment ms"
[ "$still_experiment" -le 1500 ] || fail "the experiment window stood still for $still_experiment ms"

# The advisor beside it: its first edit has the focus, Enter starts.
choose $ANALIZA 2 Doradca
advisor=$(window Doradca)
xdotool windowactivate --sync "$advisor" 2>/dev/null || true
xdotool key Return
sleep 1
still_advisor=$(longest_still "$advisor" 3)
echo "advisor window: longest time without a change $still_advisor ms"
[ "$still_advisor" -le 1500 ] || fail "the advisor window stood still for $still_advisor ms"
shot advisor

menu $SYMULACJA; item $SYMULACJA 1
sleep 1
xdotool windowactivate --sync "$main" 2>/dev/null || true
closed=$(boot_ms)
xdotool key --clearmodifiers alt+F4
status=0
for _ in $(seq 1500); do kill -0 "$app" 2>/dev/null || break; sleep 0.02; done
ended=$(boot_ms)
if kill -0 "$app" 2>/dev/null; then
  fail "the program was still running 30 s after its main window was closed"
  kill "$app"
fi
wait "$app" || status=$?
app=""
echo "closing the main window during the run, the experiment and the search ended the program after $((ended - closed)) ms with exit status $status"
[ "$status" -eq 0 ] || fail "exit status $status"
[ $((ended - closed)) -le 2000 ] || fail "the program took $((ended - closed)) ms to end"
if [ "$failures" -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; exit 1; fi
