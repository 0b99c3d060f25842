#!/bin/bash
# Builds the Debian packages wendo and wendo-lab (debian/) with
# dpkg-buildpackage, from a copy of the source in OUT/src, so that all it
# writes (its build folder, debian/tmp, and the .deb, .buildinfo and
# .changes files it leaves beside the source) stays in OUT:
#
#   tools/build-deb.sh OUT [JOBS]
#
# and prints the paths of the two packages. Uses ccache where it is
# installed (the packages do not depend on it). The build's output goes to
# OUT/build.log; this prints one line for it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "${1:?usage: build-deb.sh OUT [JOBS]}"
out=$(cd "$1" && pwd)
jobs=${2:-$(nproc)}
src=$out/src

rm -rf "$src" "$out"/*.deb "$out"/*.ddeb "$out"/*.buildinfo "$out"/*.changes
mkdir "$src"
# The checkout without version control and build folders (OUT among them).
excludes=(--exclude=./.git --exclude='./build*' --exclude='./obj-*')
case $out/ in "$root"/*) excludes+=(--exclude="./${out#"$root"/}") ;; esac
tar -C "$root" "${excludes[@]}" -cf - . | tar -C "$src" -xf -

options="parallel=$jobs"
if command -v ccache > /dev/null; then
  options="$options ccache"
  # debhelper gives the build a HOME of its own; the cache stays the user's.
  CCACHE_DIR=$(ccache -k cache_dir)
  export CCACHE_DIR
fi
(cd "$src" && DEB_BUILD_OPTIONS="$options ${DEB_BUILD_OPTIONS:-}" \
  "$root/tools/stage.sh" "deb: build the packages" "$out/build.log" dpkg-buildpackage -us -uc -b)
ls "$out"/wendo_*.deb "$out"/wendo-lab_*.deb
