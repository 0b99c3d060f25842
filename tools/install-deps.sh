#!/bin/sh
# Installs the Debian 12 packages that building, testing and running Wendo
# need (qt6-translations-l10n gives the toolkit's own dialogs their Polish,
# qt6-charts-dev draws the chart window and its CMake package needs
# libqt6opengl6-dev, which Debian does not pull in),
# skipping those already present. Runs apt-get as root, or through sudo.
set -eu

PACKAGES="build-essential cmake qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl1-mesa-dev fonts-dejavu-core libgtest-dev libgmock-dev googletest libbenchmark-dev xvfb xauth qt6-translations-l10n libcli11-dev libboost-dev parallel"
[ -n "${WENDO_EXTRA_PACKAGES:-}" ] && PACKAGES="$PACKAGES $WENDO_EXTRA_PACKAGES"

missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then SUDO=""; else SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
