#!/bin/bash
# check_packages.sh [JOBS]: the Debian packages as a user gets them. Builds
# them (make deb), checks them with lintian (no errors; warnings shown),
# installs both with apt-get, runs the installed wendo-lab on an installed
# example and the installed wendo under Xvfb, each from an empty folder,
# opens both manual pages, then purges both packages and checks that no
# file of theirs is left. Needs root, and neither package installed before.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
jobs=${1:-2}
deb=$root/build/deb
[ "$(id -u)" -eq 0 ] || { echo "check_packages.sh installs packages: run it as root"; exit 1; }
for p in wendo wendo-lab; do
  if dpkg-query -W -f='${Status}' "$p" 2> /dev/null | grep -q installed; then
    echo "check_packages.sh: $p is installed already; remove it first (apt-get purge $p)"
    exit 1
  fi
done

work=$(mktemp -d)
pids=()
installed=false
finish() {
  local status=$?
  for pid in "${pids[@]}"; do kill "$pid" 2> /dev/null || true; done
  $installed && apt-get purge -y -qq wendo wendo-lab > /dev/null 2>&1 || true
  rm -rf "$work"
  [ "$status" -eq 0 ] || echo "FAILED: the packages' check (status $status)"
  exit "$status"
}
trap finish EXIT

echo "=== build"
make -C "$root" deb JOBS="$jobs"
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
arch=$(dpkg --print-architecture)
packages=("$deb/wendo_${version}_$arch.deb" "$deb/wendo-lab_${version}_$arch.deb")

echo "=== lintian"
lintian --fail-on error --display-level '>=warning' "$deb/wendo_${version}_$arch.changes"

echo "=== install"
installed=true
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${packages[@]}" > "$work/apt.log" 2>&1 ||
  { cat "$work/apt.log"; exit 1; }
dpkg -L wendo wendo-lab | sort -u > "$work/files"
for f in /usr/bin/wendo /usr/bin/wendo-lab /usr/share/wendo/wendo.bmp /usr/share/applications/wendo.desktop \
  /usr/share/metainfo/wendo.metainfo.xml /usr/share/doc/wendo-lab/examples/slurm_sweep.sh \
  /usr/share/man/man1/wendo.1.gz /usr/share/man/man1/wendo-lab.1.gz; do
  grep -qx "$f" "$work/files" || { echo "FAILED: the packages lack $f"; exit 1; }
done
echo "installed: $(grep -c . "$work/files") paths"

echo "=== wendo-lab from an empty folder"
mkdir "$work/empty" && cd "$work/empty"
env -u QT_QPA_PLATFORM -u DISPLAY /usr/bin/wendo-lab run /usr/share/doc/wendo-lab/examples/two_posts_one_boat.wnd \
  --seeds 1-3 --duration 300 --out runs.csv
[ "$(wc -l < runs.csv)" -eq 4 ] || { echo "FAILED: expected 3 runs in runs.csv"; cat runs.csv; exit 1; }
rm runs.csv
echo "3 runs of an installed example, with the installed map"

echo "=== wendo under Xvfb from an empty folder"
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp > "$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
env -u QT_QPA_PLATFORM /usr/bin/wendo > "$work/wendo.log" 2>&1 &
pids+=($!)
if ! window=$(timeout 30 xdotool search --sync --onlyvisible --name '^Wendo$' | head -n 1) || [ -z "$window" ]; then
  echo "FAILED: no main window \"Wendo\" within 30 s"; cat "$work/wendo.log"; exit 1
fi
xwininfo -id "$window" | grep -E 'Map State|Width|Height'
xwininfo -id "$window" | grep -q 'Map State: IsViewable'
kill "${pids[1]}"
echo "the installed wendo shows its main window"
[ -z "$(ls -A "$work/empty")" ] || { echo "FAILED: the programs left files in the folder they ran in"; ls -A; exit 1; }
cd "$root"

echo "=== manual pages"
for p in wendo wendo-lab; do
  man -P cat "$p" > "$work/$p.man" 2> /dev/null
  head -n 3 "$work/$p.man"
done
# Every subcommand that wendo-lab --help lists has its section.
subcommands=$(env -u DISPLAY wendo-lab --help | sed -n '/^subcommands:/I,/^$/s/^  \([a-z][a-z-]*\).*/\1/p')
for s in $subcommands; do
  grep -q "^COMMAND ${s^^}" "$work/wendo-lab.man" || { echo "FAILED: man wendo-lab has no section for $s"; exit 1; }
done
echo "man wendo-lab: a section for each of" $subcommands

echo "=== purge"
apt-get purge -y -qq wendo wendo-lab > "$work/apt.log" 2>&1 || { cat "$work/apt.log"; exit 1; }
installed=false
left=$(while read -r f; do
  # Folders such as /usr/bin belong to other packages too.
  if [ -e "$f" ] && ! [ -d "$f" ]; then echo "$f"; fi
  case $f in /usr/share/wendo | /usr/share/doc/wendo | /usr/share/doc/wendo-lab*) [ ! -e "$f" ] || echo "$f" ;; esac
done < "$work/files")
[ -z "$left" ] || { echo "FAILED: left after the purge:"; echo "$left"; exit 1; }
echo "both packages purged; none of their $(grep -c . "$work/files") paths is left"
