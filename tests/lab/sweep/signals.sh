#!/bin/bash
# signals.sh WENDO_LAB EXAMPLES: a signal in every phase of run, merge and
# summary ends the program with 130 (SIGINT) or 143 (SIGTERM), and the
# outputs are all or nothing: either every new one is in place, or none is
# and the old files are untouched. The signals are raised at fixed points
# through WENDO_LAB_SIGNAL_AT, so nothing here depends on timing; waits are
# bounded. Also: write failures on standard output, pipes and FIFOs.
set -euo pipefail
lab=$1 examples=$2
work=$(mktemp -d) keep=$(mktemp -d)  # keep: what the steps below do not clear
trap 'rm -rf "$work" "$keep"' EXIT
cd "$work"
scenario=$examples/two_posts_one_boat.wnd
run=("$lab" run "$scenario" --duration 20 --seeds 1-8 --jobs 2)
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# The old outputs, to be found untouched after a stop.
fresh() { rm -rf ./* ./.[!.]* 2> /dev/null || true; echo old > r.csv; echo old > s.csv; }

# expect STATUS PHASE SIGNAL COUNT WHAT -- COMMAND...: WHAT is "old" (the old
# files are untouched, nothing else left) or "new" (every output in place).
expect() {
  local want=$1 phase=$2 signal=$3 count=$4 what=$5 status=0
  shift 6
  fresh
  WENDO_LAB_SIGNAL_AT=$phase WENDO_LAB_SIGNAL=$signal WENDO_LAB_SIGNAL_COUNT=$count timeout 60 "$@" \
    > out 2> err || status=$?
  local left
  left=$(ls -A | grep -v -e '^out$' -e '^err$' | tr '\n' ' ')
  [ "$status" = "$want" ] || fail "$phase $signal x$count: status $status, expected $want: $(cat err)"
  if [ "$what" = old ]; then
    [ "$(cat r.csv)" = old ] && [ "$(cat s.csv)" = old ] && [ "$left" = "r.csv s.csv " ] ||
      fail "$phase $signal x$count: the old files are not as they were (left: $left)"
  else
    [ "$(head -c 3 r.csv)" = run ] && [ "$(head -c 3 s.csv)" = run ] && [ "$left" = "r.csv s.csv " ] ||
      fail "$phase $signal x$count: not every output is in place (left: $left)"
  fi
  echo "$phase $signal x$count: status $status; $(tail -1 err)"
}

outputs=(--out r.csv --series s.csv --every 5)
expect 130 setup INT 1 old -- "${run[@]}" "${outputs[@]}"
expect 143 setup TERM 1 old -- "${run[@]}" "${outputs[@]}"
expect 130 runs-done INT 1 old -- "${run[@]}" "${outputs[@]}"
expect 143 staged TERM 1 old -- "${run[@]}" "${outputs[@]}"
expect 130 staged INT 2 old -- "${run[@]}" "${outputs[@]}"
expect 130 placing INT 1 new -- "${run[@]}" "${outputs[@]}"
expect 143 placing TERM 2 new -- "${run[@]}" "${outputs[@]}"

# merge and summary: r.csv and s.csv stay the old files beside the shard.
"${run[@]}" --out "$keep/shard.csv"
expect 130 merge INT 1 old -- "$lab" merge "$keep/shard.csv" --out r.csv
expect 143 merge TERM 1 old -- "$lab" merge "$keep/shard.csv" --out r.csv
expect 143 summary TERM 1 old -- "$lab" summary "$keep/shard.csv" --csv r.csv
expect 130 summary INT 1 old -- "$lab" summary "$keep/shard.csv" --csv r.csv

# A FIFO with no reader: the wait ends on Ctrl-C, not only on SIGKILL.
fresh
mkfifo pipe
"$lab" run "$scenario" --duration 20 --seeds 1-2 --out pipe 2> err &
pid=$!
sleep 0.3
kill -INT "$pid"
status=0
timeout 10 tail --pid="$pid" -f /dev/null || kill -KILL "$pid" || true
wait "$pid" || status=$?
[ "$status" = 130 ] || fail "a FIFO waiting for its reader: status $status on SIGINT"

# Pipes and devices are written directly; a lost write is no success.
rows=$("$lab" run "$scenario" --duration 20 --seeds 1-3 --out /dev/stdout | wc -l)
[ "$rows" = 4 ] || fail "--out /dev/stdout | wc -l gave $rows lines"
"$lab" run "$scenario" --duration 20 --seeds 1-3 --out >(gzip > r.csv.gz)
sleep 0.5
[ "$(gzip -dc r.csv.gz | wc -l)" = 4 ] || fail "--out >(gzip) did not get every row"
status=0
"$lab" summary "$keep/shard.csv" --csv sum.csv > /dev/full 2> err || status=$?
[ "$status" = 1 ] && grep -q "No space left on device" err || fail "summary > /dev/full: status $status, $(cat err)"
# The summary's text and its CSV file stand alone: the file is kept.
[ -s sum.csv ] && grep -q "written: --csv sum.csv; not written: the summary on standard output" err ||
  fail "summary > /dev/full lost its --csv file: $(cat err)"
status=0
WENDO_LAB_SIGNAL_AT=placing "$lab" summary "$keep/shard.csv" --csv sum2.csv > out 2> err || status=$?
[ "$status" = 130 ] && [ -s sum2.csv ] && grep -q "(8 runs)" out && grep -q "all of them are in place" err ||
  fail "summary stopped while its file was put in place: status $status, $(cat err)"
# Pipes as inputs are read once: merge and summary take them too.
"$lab" merge <(cat "$keep/shard.csv") > piped.csv && cmp -s piped.csv "$keep/shard.csv" ||
  fail "merge of a pipe is not the shard itself"
"$lab" summary <(cat "$keep/shard.csv") | grep -q "(8 runs)" || fail "summary of a pipe"
"$lab" run --help | grep -q "not all-or-nothing" || fail "--help does not say that a pipe is not all-or-nothing"
exit $failed
