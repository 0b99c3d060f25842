#!/bin/bash
# A sweep cut into shards that GNU parallel runs side by side, then merged
# into one results table, identical to running the sweep whole.
#
#   examples/parallel_sweep.sh [SHARDS]
#
# To spread the shards over several machines that see the same folders,
# add for example  --sshlogin 8/node1,8/node2  to the parallel command.
set -euo pipefail
shards=${1:-4}
here=$(dirname "$0")
# wendo-lab: $WENDO_LAB if set, else the one built in this checkout
# (build/lab/wendo-lab, as `make test` leaves it), else the one on PATH.
built=$(cd "$here/.." && pwd)/build/lab/wendo-lab
if [ -n "${WENDO_LAB:-}" ]; then lab=$WENDO_LAB
elif [ -x "$built" ]; then lab=$built
else lab=wendo-lab; fi
out=${OUT:-sweep}
mkdir -p "$out/shards"

# Each shard runs on one core here; parallel keeps $shards of them busy.
parallel --will-cite --jobs "$shards" --halt now,fail=1 \
  "$lab" run "$here/five_posts_three_boats.wnd" "$here/two_posts_one_boat.wnd" \
    --seeds 1-100 --set SharkMax=3,5,8 --jobs 1 \
    --shard {}/"$shards" --out "$out/shards/runs-{}.csv" ::: $(seq "$shards")

"$lab" merge "$out"/shards/runs-*.csv --out "$out/runs.csv"
"$lab" summary "$out/runs.csv"
