#!/bin/bash
# A sweep cut into shards that GNU parallel runs side by side, then merged
# into one results table, identical to running the sweep whole.
#
#   examples/parallel_sweep.sh [SHARDS [DIR]]
#
# SHARDS defaults to 4, DIR (the sweep's folder: shards/, logs/, runs.csv)
# to $OUT or sweep. A shard that fails is named with its log, and the merge
# does not run; run the same command again and only the shards whose table
# is missing run, then the merge.
#
# To spread the shards over several machines that see the same folders,
# add for example  --sshlogin 8/node1,8/node2  to the parallel command.
set -euo pipefail
shards=${1:-4}
out=${2:-${OUT:-sweep}}
here=$(dirname "$0")
# wendo-lab: $WENDO_LAB if set, else the one built in this checkout
# (build/lab/wendo-lab, as `make test` leaves it), else the one on PATH.
built=$(cd "$here/.." && pwd)/build/lab/wendo-lab
if [ -n "${WENDO_LAB:-}" ]; then lab=$WENDO_LAB
elif [ -x "$built" ]; then lab=$built
else lab=wendo-lab; fi
sweep=("$here/five_posts_three_boats.wnd" "$here/two_posts_one_boat.wnd" --seeds 1-100 --set SharkMax=3,5,8)
mkdir -p "$out/shards" "$out/logs"

# The shards already in the folder must come from this very sweep.
printf '%q ' "$shards" "${sweep[@]}" > "$out/sweep.new"
if [ -f "$out/sweep" ] && ! cmp -s "$out/sweep" "$out/sweep.new"; then
  rm "$out/sweep.new"
  echo "parallel_sweep.sh: $out holds the shards of another sweep; choose another folder" >&2
  exit 2
fi
mv "$out/sweep.new" "$out/sweep"

todo=()
for k in $(seq "$shards"); do [ -f "$out/shards/runs-$k.csv" ] || todo+=("$k"); done

# Each shard runs on one core here; parallel keeps $shards of them busy. A
# failed shard leaves no table; the others still run.
if [ "${#todo[@]}" -gt 0 ]; then
  parallel --will-cite --jobs "$shards" \
    "${lab@Q}" run "${sweep[@]@Q}" --jobs 1 --shard {}/"$shards" --out "${out@Q}/shards/runs-{}.csv" \
    '>' "${out@Q}/logs/shard-{}.log" '2>&1' ::: "${todo[@]}" || true
fi

failed=()
for k in $(seq "$shards"); do [ -f "$out/shards/runs-$k.csv" ] || failed+=("$k"); done
if [ "${#failed[@]}" -gt 0 ]; then
  for k in "${failed[@]}"; do echo "parallel_sweep.sh: shard $k of $shards failed; see $out/logs/shard-$k.log" >&2; done
  echo "parallel_sweep.sh: not merged; run the same command again to run only the missing shards" >&2
  exit 1
fi

files=()
for k in $(seq "$shards"); do files+=("$out/shards/runs-$k.csv"); done
"$lab" merge "${files[@]}" --out "$out/runs.csv"
"$lab" summary "$out/runs.csv"
