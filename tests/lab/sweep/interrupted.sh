#!/bin/bash
# interrupted.sh WENDO_LAB EXAMPLES: Ctrl-C (SIGINT) stops a long sweep,
# with status 130, and leaves no output file, finished or not; a second
# signal while it stops ends it at once, and still leaves no file, hidden
# temporary ones included.
set -euo pipefail
lab=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Starts the sweep, sends the signals once its temporary files exist, and
# checks the exit status and that nothing is left. Every wait is bounded by
# a minute (sanitizers, a loaded machine); the time is not judged.
stopped_by() {
  local statuses=$1 status=0 left
  shift
  "$lab" run "$examples/five_posts_three_boats.wnd" --seeds 1-100000 --jobs 2 --out "$work/runs.csv" \
    --series "$work/series.csv" --heatmap "$work/deaths.png" 2> "$work/err" &
  local pid=$!
  for _ in $(seq 600); do ls -A "$work" | grep -q '^\.deaths\.png\.' && break; sleep 0.1; done
  sleep 1
  for s in "$@"; do kill -"$s" "$pid" 2> /dev/null || true; sleep 0.02; done
  timeout 60 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" || true
  wait "$pid" || status=$?
  left=$(ls -A "$work" | grep -v '^err$' || true)
  echo "signals $*: status $status; left: ${left:-nothing}"; cat "$work/err"
  [[ " $statuses " == *" $status "* ]] && [ -z "$left" ]
}

stopped_by 130 INT
# A second Ctrl-C 20 ms after the first, before the stop is done.
stopped_by 130 INT INT
# The same without timing: held while the process is stopped, both arrive
# together (two of one kind would merge into one).
stopped_by "129 130" STOP INT HUP CONT
