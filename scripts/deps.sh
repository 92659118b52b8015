#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Cantorium need, if missing.
set -euo pipefail
# libsqlite3-dev only serves the search benchmarks' comparisons; the program and tests never use it.
# unzip lets the tests read the .xlsx exports back; desktop-file-utils and appstream validate the
# installed menu entry and metadata in the tests; dpkg-dev gives CPack's Debian package its
# dependencies (dpkg-shlibdeps); libtag1-dev reads audio tags for the import; libminizip-dev
# writes and reads the backups (.zip) of the data folder; libpodofo-dev adds the songbook PDF's
# bookmarks; poppler-utils (pdftotext, pdfinfo) lets the tests read that PDF back.
packages=(build-essential cmake pkg-config qt6-base-dev qt6-svg-dev qt6-charts-dev qt6-translations-l10n qt6-qpa-plugins
          libgl-dev fonts-liberation2 fonts-dejavu-core libbenchmark-dev libsqlite3-dev
          libxlsxwriter-dev zlib1g-dev unzip desktop-file-utils appstream dpkg-dev
          libtag1-dev libminizip-dev libpodofo-dev poppler-utils)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
