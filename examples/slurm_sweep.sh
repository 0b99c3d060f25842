#!/bin/bash
# A sweep as a Slurm job array: each array task runs one shard on the cores
# Slurm gave it, and a last job, started only once every task has succeeded,
# checks that every shard's table is there, merges them into one results
# table and prints the summary.
#
#   examples/slurm_sweep.sh [--out DIR] [--tasks N] [--cpus C] [-- RUN ARGUMENTS...]
#   examples/slurm_sweep.sh --resume DIR
#
#   --out DIR    the sweep's folder, on a file system every node sees
#                (default: sweep); it holds shards/, logs/ and runs.csv
#   --tasks N    array tasks, one shard each (default 16)
#   --cpus C     cores per task, the shard's --jobs (default 4)
#   RUN ARGUMENTS  the sweep as `wendo-lab run` takes it, without --jobs,
#                --shard and --out (default: the two example scenarios,
#                seeds 1-1000, SharkMax=3,5,8)
#   --resume DIR after a task failed or was cancelled: submits again only the
#                shards missing from DIR, and a new merge job
#
# Partition, account and time limit come from sbatch's own variables,
# SBATCH_PARTITION, SBATCH_ACCOUNT and SBATCH_TIMELIMIT, which override the
# lines below; any other sbatch variable works the same way.
#SBATCH --job-name=wendo-sweep
#SBATCH --time=01:00:00
set -euo pipefail

usage() {
  sed -n '7,8p' "$script" | sed 's/^#  //' >&2
  exit 2
}

# The settings of the sweep in DIR, NUL-separated: what every job of it
# reads, so a resubmission runs exactly the same sweep.
save_settings() {
  printf '%s\0' "$tasks" "$cpus" "$lab" "$script" "$workdir" "${sweep[@]}" > "$out/settings"
}
load_settings() {
  local s
  [ -f "$out/settings" ] || { echo "slurm_sweep.sh: $out holds no sweep (no $out/settings)" >&2; exit 2; }
  mapfile -d '' -t s < "$out/settings"
  tasks=${s[0]} cpus=${s[1]} lab=${s[2]} script=${s[3]} workdir=${s[4]}
  sweep=("${s[@]:5}")
}

# The array indexes whose shard table is missing, comma-separated.
missing_shards() {
  local k list=""
  for k in $(seq "$tasks"); do
    [ -f "$out/shards/runs-$k.csv" ] || list=${list:+$list,}$k
  done
  echo "$list"
}

# Submits the array tasks INDEXES (all of them, or the missing ones) and a
# merge job that runs only if every one of them succeeds; a merge job
# whose tasks failed is cancelled rather than left waiting.
submit() {
  local indexes=$1 array merge dependency=()
  if [ -n "$indexes" ]; then
    array=$(sbatch --parsable --array="$indexes" --cpus-per-task="$cpus" --chdir="$workdir" \
      --output="$out/logs/%A_%a.out" "$script" --shard-task "$out")
    array=${array%%;*}
    dependency=(--dependency=afterok:"$array" --kill-on-invalid-dep=yes)
  fi
  merge=$(sbatch --parsable "${dependency[@]}" --job-name=wendo-merge --chdir="$workdir" \
    --output="$out/logs/merge-%j.out" "$script" --merge-task "$out")
  merge=${merge%%;*}
  echo "${array:-} $merge" >> "$out/jobs"
  [ -n "$indexes" ] && echo "submitted job array $array (array tasks $indexes of $tasks, $cpus cores each)"
  echo "submitted merge job $merge; the table will be $out/runs.csv"
  echo "if a task fails, the merge does not run; once the others have ended, submit only the missing shards: $script --resume $out"
}

# The jobs of this sweep that Slurm still holds, queued or running.
active_jobs() {
  local ids
  ids=$(tr ' ' '\n' < "$out/jobs" | grep . | paste -sd, -)
  [ -z "$ids" ] || squeue -h -o %i -j "$ids" 2> /dev/null || true
}

shard_task() {
  local k=$SLURM_ARRAY_TASK_ID status=0
  local cores=${SLURM_CPUS_PER_TASK:-$(nproc)}
  echo "shard $k of $tasks (array task $k), $cores cores"
  # A shard stopped by its time limit or scancel gets SIGTERM and leaves no
  # file, so the merge is never given half a shard.
  "$lab" run "${sweep[@]}" --jobs "$cores" --shard "$k/$tasks" --out "$out/shards/runs-$k.csv" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "slurm_sweep.sh: shard $k of $tasks (array task $k) failed with exit status $status;" \
      "once the other tasks have ended: $script --resume $out" >&2
  fi
  exit "$status"
}

merge_task() {
  local missing k files=()
  missing=$(missing_shards)
  if [ -n "$missing" ]; then
    echo "slurm_sweep.sh: not merged: the tables of array tasks $missing of $tasks are missing" \
      "from $out/shards; submit them again: $script --resume $out" >&2
    exit 1
  fi
  for k in $(seq "$tasks"); do files+=("$out/shards/runs-$k.csv"); done
  "$lab" merge "${files[@]}" --out "$out/runs.csv"
  "$lab" summary "$out/runs.csv"
}

resume() {
  local active missing
  active=$(active_jobs | paste -sd' ' -)
  if [ -n "$active" ]; then
    echo "slurm_sweep.sh: jobs of this sweep are still queued or running ($active);" \
      "wait for them (squeue) or cancel them (scancel) first" >&2
    exit 1
  fi
  missing=$(missing_shards)
  rm -f "$out/runs.csv"
  [ -n "$missing" ] && echo "missing: the shards of array tasks $missing of $tasks"
  submit "$missing"
}

# wendo-lab: $WENDO_LAB if set, else the one built in this checkout
# (build/lab/wendo-lab, as `make test` leaves it), else the one on PATH.
# The jobs run a copy of this script elsewhere, so they are told which.
new_sweep() {
  local here built
  here=$(cd "$(dirname "$script")" && pwd)
  built=$here/../build/lab/wendo-lab
  if [ -n "${WENDO_LAB:-}" ]; then lab=$WENDO_LAB
  elif [ -x "$built" ]; then lab=$(cd "$here/../build/lab" && pwd)/wendo-lab
  else lab=$(command -v wendo-lab) || { echo "slurm_sweep.sh: wendo-lab is not on PATH; set WENDO_LAB" >&2; exit 2; }
  fi
  if [ "${#sweep[@]}" -eq 0 ]; then
    sweep=("$here/five_posts_three_boats.wnd" "$here/two_posts_one_boat.wnd" --seeds 1-1000 --set SharkMax=3,5,8)
  fi
  if [ -e "$out/settings" ]; then
    echo "slurm_sweep.sh: $out already holds a sweep; resume it (--resume $out) or choose another --out" >&2
    exit 2
  fi
  mkdir -p "$out/shards" "$out/logs"
  out=$(cd "$out" && pwd)
  workdir=$PWD
  : > "$out/jobs"
  save_settings
  submit "1-$tasks"
}

script=$(realpath "$0")
out=sweep tasks=16 cpus=4 sweep=() mode=new
while [ $# -gt 0 ]; do
  case $1 in
    --out) out=${2:?--out needs a folder}; shift 2 ;;
    --tasks) tasks=${2:?--tasks needs a number}; shift 2 ;;
    --cpus) cpus=${2:?--cpus needs a number}; shift 2 ;;
    --resume | --shard-task | --merge-task) mode=${1#--}; out=${2:?$1 needs the sweep folder}; shift 2 ;;
    --) shift; sweep=("$@"); break ;;
    *) usage ;;
  esac
done
[[ $tasks =~ ^[1-9][0-9]*$ && $cpus =~ ^[1-9][0-9]*$ ]] || { echo "slurm_sweep.sh: --tasks and --cpus take a positive number" >&2; exit 2; }
if [ "$mode" != new ]; then
  out=$(cd "$out" && pwd) || exit 2
fi

case $mode in
  new) new_sweep ;;
  resume) load_settings; resume ;;
  shard-task) load_settings; shard_task ;;
  merge-task) load_settings; merge_task ;;
esac
