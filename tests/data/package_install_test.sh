#!/usr/bin/env bash
# Installs the Debian package for real with apt, runs what it installed and removes it again.
# Root only; exits 77 (skipped) otherwise, without apt, or when an ondrex package is already
# installed (it is never replaced). Usage: package_install_test.sh BUILD_DIR.
set -uo pipefail
build_dir=$1
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
for tool in apt-get cpack dpkg-deb flock; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
# One run at a time on a machine: two would fight over the package.
if [ -z "${ONDREX_PACKAGE_LOCKED:-}" ]; then
  ONDREX_PACKAGE_LOCKED=1 exec flock /tmp/ondrex-package-install.lock "$0" "$@"
fi
dpkg-query -W -f='${Status}' ondrex 2>/dev/null | grep -q "install ok installed" &&
  skip "an ondrex package is installed already"
out=$(mktemp -d)
trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -q ondrex >/dev/null 2>&1; rm -rf "$out"' EXIT
cpack -G DEB -B "$out" --config "$build_dir/CPackConfig.cmake" >/dev/null 2>&1 || fail "cpack failed"
debs=("$out"/ondrex_*.deb)
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${debs[0]}" \
  >"$out/apt.log" 2>&1 || { cat "$out/apt.log"; fail "apt-get install failed"; }
[ "$(command -v ondrex)" = /usr/bin/ondrex ] || fail "ondrex is not /usr/bin/ondrex"
/usr/bin/ondrex --version | grep -q '^ondrex ' || fail "the installed binary does not run"
printf 'Function Installed()\nEnd Function\n' >"$out/x.asp"
/usr/bin/ondrex scan --count "$out/x.asp" | grep -q $'Functions found\t1' ||
  fail "the installed binary does not scan"
man -w ondrex >/dev/null 2>&1 || fail "man ondrex finds no page"
[ -f /usr/share/bash-completion/completions/ondrex ] || fail "no bash completion"
echo "package install: ok"
