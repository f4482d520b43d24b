#!/usr/bin/env bash
# The window's scan of a ~50 MB VBScript file built from the corpus against `ondrex scan
# --format json` on the same file (the peer, best of three), in one run.
#
#   bench/bench_window.sh [BUILD_DIR] [SIZE_BYTES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
size=${2:-50000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$here/gen_big_script.py" vbscript "$work/big.asp" --size "$size"
echo "file: $(stat -c %s "$work/big.asp") bytes"
best=
for _ in 1 2 3; do
    start=$(date +%s.%N)
    "$build/app/ondrex" scan --format json "$work/big.asp" >/dev/null
    t=$(echo "$(date +%s.%N) - $start" | bc -l)
    if [ -z "$best" ] || (($(echo "$t < $best" | bc -l))); then best=$t; fi
done
printf 'ondrex scan --format json   %.3f s\n' "$best"
out=$(QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen} "$build/bench/bench_window_scan" "$work/big.asp")
echo "$out"
window=$(echo "$out" | sed -n 's/^window scan to first paint *\([0-9.]*\) s$/\1/p')
printf 'ratio window / scan         %.2f (target at most 1.5)\n' "$(echo "$window / $best" | bc -l)"
peak=$(echo "$out" | sed -n 's/^peak memory over the window *\([0-9.]*\) MB$/\1/p')
printf 'peak memory / file          %.2f (target at most 2)\n' \
    "$(echo "$peak * 1048576 / $(stat -c %s "$work/big.asp")" | bc -l)"
