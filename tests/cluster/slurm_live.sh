#!/bin/bash
# slurm_live.sh WENDO_LAB EXAMPLES: examples/slurm_sweep.sh on a live Slurm.
# Starts munged, slurmctld and slurmd for one node (this machine) with their
# own key, sockets, pid files, ports and logs under a temporary folder, then
#  - a sweep of 8 array tasks: its merged table equals the sweep run locally,
#    byte for byte;
#  - the same sweep with one array task cancelled: the merge job never runs,
#    the merge step itself names the missing shard, and the recipe's
#    --resume submits only that shard, after which the merge equals the
#    local run.
# Stops every daemon by its PID and removes its folder. Needs root (slurmd
# starts jobs as their owners) and slurm-wlm and munge
# (tools/install-deps.sh cluster); skipped otherwise, unless
# WENDO_REQUIRE_SLURM is set (CI), where that is a failure.
set -euo pipefail
lab=$1 examples=$2

skip() {
  if [ -n "${WENDO_REQUIRE_SLURM:-}" ]; then echo "FAILED: $*"; exit 1; fi
  echo "skipped: $*"
  exit 77
}
[ "$(id -u)" -eq 0 ] || skip "a live Slurm needs root"
for c in munged slurmctld slurmd sbatch squeue scontrol scancel sinfo; do
  command -v "$c" > /dev/null || skip "$c is missing (tools/install-deps.sh cluster)"
done

work=$(mktemp -d /tmp/wendo-slurm.XXXXXX)
chmod 755 "$work"
pids=()
logs() {
  for f in "$work"/*.log; do echo "--- $f"; tail -n 30 "$f"; done
}
stop() {
  local status=$?
  [ "$status" -eq 0 ] || logs
  scancel --quiet --full -u root 2> /dev/null || true
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
    kill "${pids[i]}" 2> /dev/null || continue
    timeout 20 tail --pid="${pids[i]}" -f /dev/null || kill -KILL "${pids[i]}" 2> /dev/null || true
  done
  rm -rf "$work"
  exit "$status"
}
trap stop EXIT

# Waits up to SECONDS for COMMAND to succeed.
wait_for() {
  local what=$1 seconds=$2
  shift 2
  for ((i = 0; i < seconds * 5; i++)); do "$@" && return 0; sleep 0.2; done
  echo "FAILED: no $what within $seconds s"
  return 1
}

# Ports nobody listens on, from a range the default daemons do not use.
free_port() {
  local p
  while :; do
    p=$((20000 + RANDOM % 20000))
    (: < /dev/tcp/127.0.0.1/$p) 2> /dev/null || { echo "$p"; return; }
  done
}

host=$(hostname -s)
cpus=$(nproc)
dd if=/dev/urandom of="$work/munge.key" bs=1024 count=1 status=none
chmod 400 "$work/munge.key"
cat > "$work/slurm.conf" << EOF
ClusterName=wendotest
SlurmctldHost=$host(127.0.0.1)
SlurmctldPort=$(free_port)
SlurmdPort=$(free_port)
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
CredType=cred/munge
AuthInfo=socket=$work/munge.socket
StateSaveLocation=$work/state
SlurmdSpoolDir=$work/spool
SlurmctldPidFile=$work/slurmctld.pid
SlurmdPidFile=$work/slurmd.pid
SlurmctldLogFile=$work/slurmctld.log
SlurmdLogFile=$work/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SelectType=select/cons_tres
SelectTypeParameters=CR_Core
SlurmdParameters=config_overrides
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
MpiDefault=none
ReturnToService=2
NodeName=$host NodeAddr=127.0.0.1 CPUs=$cpus State=UNKNOWN
PartitionName=wendo Nodes=$host Default=YES MaxTime=INFINITE State=UP
EOF
mkdir "$work/state" "$work/spool"
export SLURM_CONF=$work/slurm.conf

munged --foreground --force --key-file="$work/munge.key" --socket="$work/munge.socket" \
  --pid-file="$work/munged.pid" --log-file="$work/munged.log" --seed-file="$work/munged.seed" \
  2>> "$work/munged.log" &
pids+=($!)
wait_for "munge socket" 20 test -S "$work/munge.socket"
slurmctld -D 2>> "$work/slurmctld.log" &
pids+=($!)
slurmd -D -N "$host" 2>> "$work/slurmd.log" &
pids+=($!)
idle() { [ "$(sinfo -h -n "$host" -o %T 2> /dev/null)" = idle ]; }
wait_for "idle node" 60 idle
echo "one-node Slurm up: $(sinfo --version), $cpus cores"

sweep=("$examples/five_posts_three_boats.wnd" "$examples/two_posts_one_boat.wnd" --duration 600 --seeds 1-20)
"$lab" run "${sweep[@]}" --jobs "$cpus" --out "$work/local.csv"
recipe=$examples/slurm_sweep.sh
no_jobs() { [ -z "$(squeue -h -o %i)" ]; }
cd "$work"
export WENDO_LAB=$lab

echo "=== a sweep of 8 array tasks, merged"
"$recipe" --out "$work/whole" --tasks 8 --cpus 1 -- "${sweep[@]}"
wait_for "end of the sweep's jobs" 180 no_jobs
cat "$work"/whole/logs/merge-*.out
cmp "$work/local.csv" "$work/whole/runs.csv"
grep -q "shard 3 of 8 (array task 3), 1 cores" "$work"/whole/logs/*_3.out
echo "merged table equals the local run, byte for byte"

echo "=== the same sweep with array task 5 cancelled"
# A job that holds every core keeps the sweep's tasks queued, so task 5 is
# surely cancelled before it starts.
blocker=$(sbatch --parsable --cpus-per-task="$cpus" --output=/dev/null --wrap 'sleep 300')
running() { [ "$(squeue -h -j "$1" -o %T)" = RUNNING ]; }
wait_for "start of the job holding every core" 30 running "$blocker"
submitted=$("$recipe" --out "$work/cut" --tasks 8 --cpus 1 -- "${sweep[@]}")
echo "$submitted"
array=$(sed -n 's/^submitted job array \([0-9]*\) .*/\1/p' <<< "$submitted")
merge=$(sed -n 's/^submitted merge job \([0-9]*\);.*/\1/p' <<< "$submitted")
grep -qF -- "--resume $work/cut" <<< "$submitted"
scancel "${array}_5"
scancel "$blocker"
wait_for "end of the sweep's jobs" 180 no_jobs
scontrol show job "$merge" | grep -E 'JobState|Reason'
scontrol show job "$merge" | grep -q 'JobState=CANCELLED'
if ls "$work"/cut/logs/merge-* "$work/cut/runs.csv" 2> /dev/null; then
  echo "FAILED: the merge job ran although array task 5 was cancelled"
  exit 1
fi
if "$recipe" --merge-task "$work/cut" 2> "$work/merge-refused"; then
  echo "FAILED: the merge step merged an incomplete set"
  exit 1
fi
cat "$work/merge-refused"
grep -q "array tasks 5 of 8 are missing" "$work/merge-refused"

resumed=$("$recipe" --resume "$work/cut")
echo "$resumed"
grep -q "array tasks 5 of 8" <<< "$resumed"
wait_for "end of the resubmitted jobs" 120 no_jobs
cat "$work"/cut/logs/merge-*.out
cmp "$work/local.csv" "$work/cut/runs.csv"
[ "$(ls "$work"/cut/logs/*_*.out | wc -l)" -eq 8 ]
echo "after resubmitting shard 5 alone, the merged table equals the local run, byte for byte"
