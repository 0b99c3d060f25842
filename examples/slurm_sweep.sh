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
lab=${WENDO_LAB:-wendo-lab}
examples=${WENDO_EXAMPLES:-examples}

if [ -z "${SLURM_ARRAY_TASK_ID:-}" ]; then
  mkdir -p sweep/shards sweep/logs
  array=$(sbatch --parsable --export=ALL "$0")
  sbatch --dependency=afterok:"$array" --output=sweep/logs/merge.out --export=ALL \
    --wrap "$lab merge sweep/shards/runs-*.csv --out sweep/runs.csv && $lab summary sweep/runs.csv"
  echo "submitted array $array and its merge; the table will be sweep/runs.csv"
  exit 0
fi

# A shard that runs out of time is stopped by SIGTERM and leaves no file,
# so the merge is never given half a shard.
"$lab" run "$examples/five_posts_three_boats.wnd" "$examples/two_posts_one_boat.wnd" \
  --seeds 1-1000 --set SharkMax=3,5,8 --jobs "$SLURM_CPUS_PER_TASK" \
  --shard "$SLURM_ARRAY_TASK_ID/$SLURM_ARRAY_TASK_COUNT" \
  --out "sweep/shards/runs-$SLURM_ARRAY_TASK_ID.csv"
