#!/bin/bash
# interrupted.sh WENDO_LAB EXAMPLES: Ctrl-C (SIGINT) stops a long sweep at
# once, with status 130, and leaves no output file, finished or not.
set -euo pipefail
lab=$1 examples=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$lab" run "$examples/five_posts_three_boats.wnd" --seeds 1-100000 --jobs 2 --out "$work/runs.csv" \
  --series "$work/series.csv" --heatmap "$work/deaths.png" 2> "$work/err" &
pid=$!
sleep 2
kill -INT "$pid"
start=$(date +%s%N)
status=0
wait "$pid" || status=$?
took_ms=$((($(date +%s%N) - start) / 1000000))
left=$(ls -A "$work" | grep -v '^err$' || true)
echo "status $status after ${took_ms} ms; left: ${left:-nothing}"; cat "$work/err"
[ "$status" -eq 130 ] && [ -z "$left" ] && [ "$took_ms" -lt 5000 ]
