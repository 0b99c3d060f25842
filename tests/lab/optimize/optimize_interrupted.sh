#!/bin/bash
# optimize_interrupted.sh WENDO_LAB MAP: Ctrl-C (SIGINT) stops a long
# optimisation soon, with status 130, and still writes the best layout found
# so far, a scenario file like any other, saying on standard error that it
# was not checked; no heatmap and no temporary file is left.
set -euo pipefail
lab=$1 map=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf '100\r\n1000\r\n2\r\n200\r\n20\r\n50\r\n15\r\n5\r\n30\r\n300\r\n0\r\n0\r\n' > "$work/busy.wnd"

"$lab" optimize "$work/busy.wnd" --map "$map" --observers 2 --boats 1 --duration 600 --seeds-per-layout 2 --budget 100000 \
  --jobs 2 --out "$work/best.wnd" --heatmap-before "$work/before.png" --heatmap-after "$work/after.png" \
  > "$work/out" 2> "$work/err" &
pid=$!
sleep 4
kill -INT "$pid"
# At most a minute (sanitizers, a loaded machine); the time is not judged.
timeout 60 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" || true
status=0
wait "$pid" || status=$?
left=$(ls -A "$work" | grep -v -e '^err$' -e '^out$' -e '^busy.wnd$' || true)
echo "status $status; left: ${left:-nothing}"; cat "$work/err"
lines=$(wc -l < "$work/best.wnd")
[ "$status" -eq 130 ] && [ "$left" = "best.wnd" ] &&
  grep -q "best layout found so far, NOT checked" "$work/err" &&
  [ "$lines" -eq 15 ] && [ "$(sed -n 11p "$work/best.wnd")" = $'2\r' ]
