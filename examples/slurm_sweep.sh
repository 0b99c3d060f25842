#!/bin/bash
# A sweep as a Slurm job array: each array task runs one shard on the cores
# it was given, and a last job, started once every task has succeeded,
# merges the shards into one results table and prints the summary.
#
#   examples/slurm_sweep.sh          # submits the array and the merge job
#
# Run from a folder that every node sees; the results go to sweep/.
#SBATCH --job-name=wendo-sweep
#SBATCH --array=1-16
#SBATCH --cpus-per-task=4
#SBATCH --time=01:00:00
#SBATCH --output=sweep/logs/%A_%a.out
set -euo pipefail
examples=${WENDO_EXAMPLES:-examples}

if [ -z "${SLURM_ARRAY_TASK_ID:-}" ]; then
  # wendo-lab: $WENDO_LAB if set, else the one built in this checkout
  # (build/lab/wendo-lab, as `make test` leaves it), else the one on PATH.
  # The jobs run a copy of this script elsewhere, so they are told which.
  built=$(cd "$(dirname "$0")/.." && pwd)/build/lab/wendo-lab
  if [ -z "${WENDO_LAB:-}" ] && [ -x "$built" ]; then export WENDO_LAB=$built; fi
  lab=${WENDO_LAB:-wendo-lab}
  mkdir -p sweep/shards sweep/logs
  array=$(sbatch --parsable --export=ALL "$0")
  q=$(printf '%q' "$lab")
  sbatch --dependency=afterok:"$array" --output=sweep/logs/merge.out --export=ALL \
    --wrap "$q merge sweep/shards/runs-*.csv --out sweep/runs.csv && $q summary sweep/runs.csv"
  echo "submitted array $array and its merge; the table will be sweep/runs.csv"
  exit 0
fi

lab=${WENDO_LAB:-wendo-lab}
# A shard that runs out of time is stopped by SIGTERM and leaves no file,
# so the merge is never given half a shard.
"$lab" run "$examples/five_posts_three_boats.wnd" "$examples/two_posts_one_boat.wnd" \
  --seeds 1-1000 --set SharkMax=3,5,8 --jobs "$SLURM_CPUS_PER_TASK" \
  --shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT" \
  --out "sweep/shards/runs-$SLURM_ARRAY_TASK_ID.csv"
