#!/bin/bash
# parallel_shards.sh WENDO_LAB EXAMPLES: a sweep run whole, and as four
# shards through GNU parallel then merged, gives the same bytes.
set -euo pipefail
lab=$1 examples=$2
command -v parallel > /dev/null || { echo "GNU parallel is not installed: skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sweep=("$examples/five_posts_three_boats.wnd" "$examples/two_posts_one_boat.wnd"
       --duration 120 --seeds 1-5 --set SharkMax=3,6)

"$lab" run "${sweep[@]}" --jobs 2 --out "$work/whole.csv"
parallel --will-cite --jobs 2 "$lab" run "${sweep[@]@Q}" --jobs 1 --shard {}/4 --out "$work/shard{}.csv" ::: 1 2 3 4
"$lab" merge "$work"/shard*.csv --out "$work/merged.csv"
cmp "$work/whole.csv" "$work/merged.csv"
rows=$(($(wc -l < "$work/merged.csv") - 1))
[ "$rows" -eq 20 ] || { echo "expected 20 runs, got $rows"; exit 1; }
echo "four shards through GNU parallel, merged: the same $rows runs, byte for byte"
