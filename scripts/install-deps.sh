#!/bin/sh
# Installs every Debian package that building, testing and benchmarking Zarvek needs.
# Idempotent: packages already present are left alone, and apt is not touched at all
# when nothing is missing. Runs as root (or through sudo when available).
set -eu

PACKAGES="
  g++ make cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  clang libclang-rt-14-dev
  dasm sdcc sdcc-ucsim ccache
  qt6-base-dev qt6-serialport-dev libqscintilla2-qt6-dev qt6-translations-l10n
  fonts-liberation2 xvfb xauth socat
  gcc-avr binutils-avr avr-libc simavr libsimavr-dev libelf-dev
"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

[ -z "$missing" ] && exit 0

echo "install-deps: installing:$missing"
SUDO=""
if [ "$(id -u)" != 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "install-deps: root rights are needed to install:$missing" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get -o DPkg::Lock::Timeout=600 update
# shellcheck disable=SC2086
$SUDO apt-get -o DPkg::Lock::Timeout=600 install -y --no-install-recommends $missing
