#!/bin/bash
# Closes the program during a busy run, 20 times: each time the process must
# end with status 0 within one second of the close.
#   exit_under_load.sh PROGRAM [ROUNDS]
set -euo pipefail
program=$1
rounds=${2:-20}
uptime_ms() { awk '{ printf "%d\n", $1 * 1000 }' /proc/uptime; }
for round in $(seq "$rounds"); do
  out=$(mktemp)
  status=0
  timeout 60 "$program" > "$out" 2>&1 || status=$?
  ended=$(uptime_ms)
  closing=$(sed -n 's/^closing at //p' "$out")
  people=$(sed -n 's/^people \([0-9]*\).*/\1/p' "$out")
  if [ "$status" -ne 0 ] || [ -z "$closing" ]; then
    echo "round $round: exit status $status"; cat "$out"; rm -f "$out"; exit 1
  fi
  rm -f "$out"
  took=$((ended - closing))
  echo "round $round: $people people; the process ended $took ms after the close"
  if [ "$took" -ge 1000 ]; then echo "round $round: too slow"; exit 1; fi
done
echo "$rounds passed, 0 failed"
