#!/usr/bin/env bash
# Installs the Debian packages Quillon needs to build, run and test.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libgl-dev
  libcups2-dev cups cups-client cups-bsd printer-driver-cups-pdf
  libgsf-1-dev libzip-dev libbenchmark-dev sqlite3 libsqlite3-dev
  xvfb xauth poppler-utils fonts-dejavu-core
  clang libclang-rt-14-dev
  desktop-file-utils appstream dpkg-dev
  libqt6sql6-psql postgresql postgresql-client libpq-dev
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
