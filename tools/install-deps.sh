#!/bin/sh
# Installs the Debian 12 packages that building, testing and running Wendo
# need, skipping those already present, and those that the helper scripts need
# when asked for:
#
#   tools/install-deps.sh [bench] [fuzz] [cluster] [package]
#
#   bench    bench/measure_calm.sh (Xvfb, xdpyinfo, xdotool, ps)
#   fuzz     tests/fuzz/run_fuzz.sh (clang and its libFuzzer runtime)
#   cluster  the live Slurm test, tests/cluster/slurm_live.sh (Slurm, munge)
#   package  `make deb` and tests/package/check_packages.sh (debhelper,
#            help2man, lintian; man, Xvfb, xdotool and xwininfo for the check)
#
# WENDO_EXTRA_PACKAGES names more packages to install.
# Runs apt-get as root, or through sudo; with neither, it says in one line
# what to run instead and fails with exit status 3 (make then stops without
# a line of its own). apt-get's output goes to a log file,
# $WENDO_INSTALL_LOG (default build/logs/install.log); this prints one line.
set -eu

# One package a line, so that additions from different branches merge easily.
PACKAGES="
build-essential
cmake
qt6-base-dev
qt6-base-dev-tools
libgl1-mesa-dev
fonts-dejavu-core
libgtest-dev
libgmock-dev
googletest
libbenchmark-dev
xvfb
xauth
qt6-charts-dev
libqt6opengl6-dev
qt6-translations-l10n
libcli11-dev
libboost-dev
parallel
"
# qt6-translations-l10n gives the toolkit's own dialogs their Polish texts;
# the chart window needs qt6-charts-dev, whose CMake package wants
# libqt6opengl6-dev, which Debian does not pull in; wendo-lab parses its
# command line with CLI11, takes Student's t from Boost.Math, and its
# cluster example uses GNU parallel.

BENCH_PACKAGES="
xvfb
x11-utils
xdotool
procps
"

FUZZ_PACKAGES="
clang
libclang-rt-14-dev
"

CLUSTER_PACKAGES="
slurm-wlm
munge
"

PACKAGE_PACKAGES="
debhelper
dpkg-dev
help2man
lintian
man-db
xvfb
xdotool
x11-utils
"

root=$(cd "$(dirname "$0")/.." && pwd)
wanted="$PACKAGES ${WENDO_EXTRA_PACKAGES:-}"
for group in "$@"; do
  case $group in
    bench) wanted="$wanted $BENCH_PACKAGES" ;;
    fuzz) wanted="$wanted $FUZZ_PACKAGES" ;;
    cluster) wanted="$wanted $CLUSTER_PACKAGES" ;;
    package) wanted="$wanted $PACKAGE_PACKAGES" ;;
    *) echo "install-deps.sh: unknown group '$group' (known: bench, fuzz, cluster, package)" >&2; exit 2 ;;
  esac
done

missing=""
for p in $wanted; do
  case " $missing " in *" $p "*) continue ;; esac
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -z "$missing" ]; then
  echo "==> packages: all present"
  exit 0
fi

again="su -c tools/install-deps.sh"
[ "$#" -gt 0 ] && again="su -c 'tools/install-deps.sh $*'"
if [ "$(id -u)" -eq 0 ]; then
  sudo=""
elif command -v sudo >/dev/null 2>&1; then
  sudo="sudo"
else
  echo "==> packages missing:$missing; there is no sudo here, so install them as root, from $root: $again" >&2
  exit 3
fi

# Asks for the password, if any, on its own line before the quiet stage.
if [ -n "$sudo" ] && [ -t 0 ] && ! sudo -v; then
  echo "==> if sudo is not allowed here, install them as root, from $root: $again" >&2
  exit 3
fi

log=${WENDO_INSTALL_LOG:-$root/build/logs/install.log}
mkdir -p "$(dirname "$log")"
: >"$log"
# Run as root for someone else's checkout (su -c), the log stays theirs.
if [ -z "$sudo" ] && [ "$log" = "$root/build/logs/install.log" ]; then
  chown --reference="$root" "$root/build" "$root/build/logs" "$log" 2>/dev/null || true
fi

# Waits for a package manager that another process is using, rather than
# failing at once.
apt="apt-get -o DPkg::Lock::Timeout=300"
# shellcheck disable=SC2086
if ! "$root/tools/stage.sh" "packages: installing$missing" "$log" \
    $sudo env DEBIAN_FRONTEND=noninteractive \
    sh -c "$apt update -qq && $apt install -y -qq --no-install-recommends $missing"; then
  [ -n "$sudo" ] && echo "==> if sudo is not allowed here, install them as root, from $root: $again" >&2
  exit 1
fi
