#!/usr/bin/env bash
# Installs, only when missing, every Debian package that building, testing and
# running plavik needs. Safe to run again and again.
set -euo pipefail

PACKAGES=(
  cmake ninja-build g++ make pkg-config clang libclang-rt-14-dev clang-format lld
  qt6-base-dev qt6-svg-dev libqt6sql6-sqlite libqt6sql6-odbc libqt6svg6
  libzint-dev libuemf-dev zlib1g-dev
  mdbtools-dev libshp-dev pxlib-dev libzip-dev libpugixml-dev
  unixodbc-dev unixodbc odbcinst libsqliteodbc mdbtools locales python3-xlwt libsqlite3-dev libcups2-dev poppler-utils
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core fontconfig
  xvfb xauth imagemagick qt6-translations-l10n
  # what the reader program confines itself with
  libseccomp-dev
  # the database servers and ODBC drivers the server tests start and use
  postgresql mariadb-server mariadb-client odbc-postgresql odbc-mariadb
  # the private print server the printing tests start
  cups-daemon cups-client cups-filters
  # what the install and package tests check with
  desktop-file-utils lintian libxml2-utils shared-mime-info dpkg-dev file
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

# The data-source readers' tests run as an Italian user.
ensure_italian_locale() {
  if locale -a 2>/dev/null | grep -qi '^it_IT\.utf-\?8$'; then return; fi
  $SUDO sed -i 's/^# *it_IT.UTF-8 UTF-8/it_IT.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^it_IT.UTF-8 UTF-8' /etc/locale.gen || echo 'it_IT.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
}

if [ ${#missing[@]} -eq 0 ]; then
  ensure_italian_locale
  exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_italian_locale
