#!/usr/bin/env bash
# Builds the scenario reader's fuzz target with clang and runs it on a copy
# of the seed corpus.
#   run_fuzz.sh BUILD_DIR [SECONDS]   (default 60 seconds)
# Prints the number of executions; exits non-zero on any finding, which is
# left as BUILD_DIR/fuzz-crash-* (or leak-, timeout-, oom-).
# WENDO_SOURCE_DIR overrides the source tree (default: this checkout).
set -euo pipefail

build=${1:?usage: run_fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-60}
here=$(cd "$(dirname "$0")" && pwd)
source_dir=${WENDO_SOURCE_DIR:-$(cd "$here/../.." && pwd)}

# Everything is built with coverage and sanitizers, so findings in the core
# number conversion count too.
CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWENDO_FUZZ=ON -DWENDO_TESTS=ON -DWENDO_UI=OFF -DWENDO_LAB=OFF -DWENDO_BENCH=OFF \
  -DWENDO_SANITIZE=address,undefined \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
case "$compiler" in
  *clang*) ;;
  *) echo "run_fuzz.sh: $build was configured with $compiler; use a fresh build folder" >&2; exit 2 ;;
esac
cmake --build "$build" -j2 --target scenario_fuzz

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$here/corpus" "$work/corpus"

status=0
"$build/tests/fuzz/scenario_fuzz" "$work/corpus" \
  -max_total_time="$seconds" -print_final_stats=1 -rss_limit_mb=4096 \
  -artifact_prefix="$build/fuzz-" 2>"$work/log" || status=$?

grep -E '^(INFO: seed corpus|Done [0-9]+ runs|==[0-9]+==ERROR|SUMMARY|scenario_fuzz:)' "$work/log" || true
grep -E '^#[0-9]+' "$work/log" | tail -n 1 || true
executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")
echo "executions: ${executions:-unknown}"
if [ "$status" -ne 0 ]; then
  tail -n 40 "$work/log" >&2
  echo "run_fuzz.sh: finding (exit $status); see $build/fuzz-*" >&2
fi
exit "$status"
