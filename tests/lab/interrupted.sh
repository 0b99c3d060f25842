#!/bin/bash
# interrupted.sh WENDO_LAB EXAMPLES: Ctrl-C (SIGINT) stops a long sweep,
# with status 130, and leaves no output file, finished or not.
set -euo pipefail
lab=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$lab" run "$examples/five_posts_three_boats.wnd" --seeds 1-100000 --jobs 2 --out "$work/runs.csv" \
  --series "$work/series.csv" --heatmap "$work/deaths.png" 2> "$work/err" &
pid=$!
sleep 2
kill -INT "$pid"
# At most a minute (sanitizers, a loaded machine); the time is not judged.
timeout 60 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" || true
status=0
wait "$pid" || status=$?
left=$(ls -A "$work" | grep -v '^err$' || true)
echo "status $status; left: ${left:-nothing}"; cat "$work/err"
[ "$status" -eq 130 ] && [ -z "$left" ]
