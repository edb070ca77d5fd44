#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program needs.
# Safe to run again: it installs only what is missing.
set -euo pipefail
pkgs=(build-essential cmake ninja-build pkg-config
      qt6-base-dev qt6-base-dev-tools libqt6printsupport6 libgl-dev
      # the Greek translation of Qt's own dialogs (lrelease), and the Greek locale itself
      qt6-l10n-tools locales
      libsqlite3-dev libpq-dev postgresql-15 googletest libgtest-dev libbenchmark-dev
      xvfb xauth openbox imagemagick poppler-utils fonts-dejavu-core
      # the Debian package and its checks (packaging/check.sh)
      librsvg2-bin lintian desktop-file-utils appstream
      # exports (xlsx), the tax authority's e-books (schema checks, the keyring, QR codes and
      # reading them back in tests, the stand-in service and CSV reader of the tests)
      libxlsxwriter-dev zlib1g-dev libxml2-dev libxml2-utils qtkeychain-qt6-dev libqrencode-dev zbar-tools
      python3 python3-openpyxl
      # sealed backup copies (Argon2id and XChaCha20-Poly1305), and the test that opens one
      # with another implementation, following docs/backup-encryption.md only
      libsodium-dev python3-nacl
      # the stand-in service's certificate, for the sending over TLS in the tests
      openssl
      # the baseline of the backup benchmark (bench/db): the engine's own command-line program
      sqlite3
      # the statistics window's charts (Qt Charts' CMake files need Qt OpenGL's, which
      # Debian 12 ships in a package of its own that qt6-charts-dev does not pull in)
      qt6-charts-dev libqt6opengl6-dev
      # appointment reminders: mail through libcurl, and the tests' stand-in mail server
      # and the calendar files read back with another implementation
      libcurl4-openssl-dev python3-aiosmtpd python3-icalendar
      # shared compile cache between build folders (used when present)
      ccache
      # the fuzz targets in fuzz/: clang, with libFuzzer and the sanitizer runtimes
      clang libclang-rt-14-dev)
missing=()
for p in "${pkgs[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo_cmd apt-get update -qq
    $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A Greek system for the program and the tests (LANG=el_GR.UTF-8).
if ! locale -a 2>/dev/null | grep -qi '^el_GR\.utf-\?8$'; then
    echo "Generating the locale el_GR.UTF-8"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd sed -i 's/^# *\(el_GR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^el_GR.UTF-8 UTF-8' /etc/locale.gen || echo 'el_GR.UTF-8 UTF-8' | $sudo_cmd tee -a /etc/locale.gen >/dev/null
    $sudo_cmd locale-gen >/dev/null
fi
