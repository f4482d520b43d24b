#!/usr/bin/env bash
# Installs into a scratch prefix and checks that a desktop finds what it needs: the binary,
# a valid launcher entry naming the icon, the icon itself and a manual page that renders.
set -euo pipefail
build_dir=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*"; exit 1; }
[ -x "$prefix/bin/ondrex" ] || fail "bin/ondrex missing"
[ -x "$prefix/libexec/ondrex/ondrex-window" ] || fail "the window program is missing"
desktop=$prefix/share/applications/ondrex.desktop
[ -f "$desktop" ] || fail "ondrex.desktop missing"
grep -q '^Exec=ondrex %f$' "$desktop" || fail "launcher does not pass the file"
grep -q '^MimeType=.*application/x-php' "$desktop" || fail "launcher lists no script types"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$desktop" || fail "launcher entry does not validate"
fi
[ -f "$prefix/share/icons/hicolor/scalable/apps/ondrex.svg" ] || fail "icon missing"
page=$prefix/share/man/man1/ondrex.1
[ -f "$page" ] || fail "manual page missing"
if command -v man >/dev/null; then
  out=$(MANWIDTH=80 man -l "$page" 2>&1) || fail "manual page does not render"
  grep -q 'ONDREX_PRINT_TO_PDF' <<<"$out" || fail "manual page lacks the environment"
fi
"$prefix/bin/ondrex" --version >/dev/null || fail "installed binary does not run"
echo "install: ok"
