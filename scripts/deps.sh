#!/usr/bin/env bash
# Installs the Debian packages Ondrex needs to build, test and print; quiet when all are there.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev libgl-dev fonts-liberation2
  libgtest-dev libgmock-dev
  cups printer-driver-cups-pdf poppler-utils
  desktop-file-utils man-db
  vim universal-ctags
  dpkg-dev appstream
  locales
  clang libclang-rt-dev
  # the language server's JSON; the other JSON library its benchmark compares; its client test
  libsimdjson-dev nlohmann-json3-dev neovim
)
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
# A Turkish locale folds I to a dotless i: the tests that case-insensitive answers ignore the
# process locale run under it (and skip where it cannot be made).
if ! locale -a 2>/dev/null | grep -qx 'tr_TR.iso88599'; then
  $sudo localedef -i tr_TR -f ISO-8859-9 tr_TR.ISO-8859-9 2>/dev/null || true
fi
