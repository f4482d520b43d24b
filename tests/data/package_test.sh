#!/usr/bin/env bash
# Builds the Debian package from the build folder and checks it as apt would see it: its
# name, version and dependencies, every file a desktop needs, an AppStream entry that
# validates, and a bash completion that completes from the command table.
# Usage: package_test.sh BUILD_DIR. Exits 77 (skipped) without cpack or dpkg-deb.
set -euo pipefail
build_dir=$1
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAIL: $*"; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
cpack -G DEB -B "$out" --config "$build_dir/CPackConfig.cmake" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack failed"; }
debs=("$out"/ondrex_*.deb)
[ -f "${debs[0]}" ] || fail "no ondrex_*.deb in $(ls "$out")"
deb=${debs[0]}

version=$("$build_dir/app/ondrex" --version | cut -d' ' -f2)
[ "$(dpkg-deb -f "$deb" Package)" = ondrex ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version is not the program's $version"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libc6 libstdc++6 libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins fonts-liberation2; do
  grep -q "\b$dep\b" <<<"$depends" || fail "Depends lacks $dep: $depends"
done

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
for path in ./usr/bin/ondrex ./usr/libexec/ondrex/ondrex-window ./usr/share/applications/ondrex.desktop \
  ./usr/share/icons/hicolor/scalable/apps/ondrex.svg ./usr/share/man/man1/ondrex.1 \
  ./usr/share/bash-completion/completions/ondrex ./usr/share/zsh/vendor-completions/_ondrex \
  ./usr/share/metainfo/ondrex.metainfo.xml; do
  grep -qx "$path" <<<"$contents" || fail "$path missing from the package"
done

dpkg-deb -x "$deb" "$out/root"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$out/root/usr/share/metainfo/ondrex.metainfo.xml" ||
    fail "the AppStream entry does not validate"
fi
grep -q "<release version=\"$version\"" "$out/root/usr/share/metainfo/ondrex.metainfo.xml" ||
  fail "the AppStream release is not $version"

# The completion, as bash runs it when the user presses Tab.
complete_words() {
  bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _ondrex
           printf "%s\n" "${COMPREPLY[@]}"' sh "$out/root/usr/share/bash-completion/completions/ondrex" "$@"
}
[ "$(complete_words ondrex ta)" = tags ] || fail "no command completion"
[ "$(complete_words ondrex scan --form)" = --format ] || fail "no option completion"
grep -qx -- -R <<<"$(complete_words ondrex tags -)" || fail "tags' -R not offered"
grep -qx vbscript <<<"$(complete_words ondrex tags --lang '')" || fail "languages not offered"
grep -qx never <<<"$(complete_words ondrex cat --color = '')" || fail "--color=WHEN not offered"
echo "package: ok ($(basename "$deb"))"
