#!/bin/sh
# wendo-lab-manpage.sh PROGRAM VERSION OUT: the manual page of wendo-lab,
# made by help2man from the program's own --help texts: the overview, then
# one section for each subcommand that the overview lists.
set -eu
lab=$1 version=$2 out=$3
include=$(mktemp)
trap 'rm -f "$include"' EXIT

# CLI11 lists the subcommands under "Subcommands:", two spaces in.
subcommands=$("$lab" --help | sed -n '/^subcommands:/I,/^$/s/^  \([a-z][a-z-]*\).*/\1/p')
[ -n "$subcommands" ] || { echo "wendo-lab-manpage.sh: no subcommands in $lab --help" >&2; exit 1; }
for s in $subcommands; do
  printf '[COMMAND %s]\n.nf\n' "$(echo "$s" | tr a-z A-Z)"
  # Backslashes and leading dots or quotes are roff's own; escaped here.
  "$lab" "$s" --help | sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
  printf '.fi\n'
done > "$include"

help2man --no-info --no-discard-stderr --version-string="$version" \
  --name="experiment runner for the Wendo beach simulation" --include="$include" "$lab" > "$out"
