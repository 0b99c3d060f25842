#!/bin/bash
# Runs one stage of the set-up (package installation, configuration, build)
# with all its output in a log file, and prints one line for it: the stage's
# name, then "done" and the time taken. When the stage fails, it shows where
# the log begins to report errors (all of it under CI) and the log's path,
# and exits with the stage's status.
#
#   tools/stage.sh [--progress] NAME LOG COMMAND [ARGUMENTS...]
#
# With --progress on a terminal, the line shows the build's latest
# "[ NN%] ..." step as it goes; elsewhere nothing updates.
set -uo pipefail

progress=false
if [ "${1:-}" = --progress ]; then progress=true; shift; fi
name=${1:?usage: stage.sh [--progress] NAME LOG COMMAND...}
log=${2:?usage: stage.sh [--progress] NAME LOG COMMAND...}
shift 2
mkdir -p "$(dirname "$log")" || exit 1
# GNU make tells its children that it writes to a terminal, and CMake's
# makefiles then colour their lines even into the log.
unset MAKE_TERMOUT MAKE_TERMERR

took() {
  local s=$((SECONDS - started))
  if [ "$s" -ge 60 ]; then echo "$((s / 60)) min $((s % 60)) s"; else echo "$s s"; fi
}

# Copies the command's output into the log, showing each progress step on
# one line of the terminal, cut to the terminal's width.
show_progress() {
  local columns line
  columns=$(tput cols 2>/dev/null) || columns=80
  while IFS= read -r line; do
    printf '%s\n' "$line" >&3
    case $line in
      '['*'%]'*) line="==> $name: $line"; printf '\r\033[K%s' "${line:0:columns-1}" ;;
    esac
  done 3>"$log"
  printf '\r\033[K'
}

started=$SECONDS
if $progress && [ -t 1 ]; then
  "$@" 2>&1 | show_progress
  status=${PIPESTATUS[0]}
  printf '==> %s ... ' "$name"
else
  printf '==> %s ... ' "$name"
  "$@" >"$log" 2>&1
  status=$?
fi

if [ "$status" -eq 0 ]; then
  echo "done ($(took))"
  exit 0
fi

echo "FAILED ($(took), exit status $status)"
if [ -n "${CI:-}" ]; then
  cat "$log"
else
  # The first error is more telling than the last lines of a parallel build.
  first=$(grep -n -m1 -E 'error:|Error [0-9]|CMake Error|^E: ' "$log" | cut -d: -f1)
  if [ -n "$first" ]; then sed -n "${first},$((first + 39))p" "$log"; else tail -n 40 "$log"; fi
fi
echo "==> full log: $log"
exit "$status"
