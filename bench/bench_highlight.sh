#!/usr/bin/env bash
# Highlighting benchmarks in one run:
#  1. tokenizing every line of a ~50 MB file of each language (bench_highlight);
#  2. `ondrex cat --color=always` against `batcat --color=always` (Debian package bat) on the
#     same ~50 MB PHP file, both written to /dev/null; the ratio is batcat's time / ours.
# Inputs are generated from the corpus into a temporary folder and removed afterwards.
#
#   bench/bench_highlight.sh [BUILD_DIR] [SIZE_BYTES]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
size=${2:-50000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for lang in vbscript javascript perl php; do
    python3 "$here/gen_big_script.py" "$lang" "$work/big.$lang" --size "$size"
    "$build/bench/bench_highlight" "$lang" "$work/big.$lang" 3
done

bat=$(command -v batcat || command -v bat || true)
if [ -z "$bat" ]; then
    echo "cat comparison skipped: batcat not installed (apt-get install bat)"
    exit 0
fi
php="$work/big.php"
seconds() { local t0 t1; t0=$(date +%s.%N); "$@" >/dev/null; t1=$(date +%s.%N); echo "$t1 - $t0" | bc -l; }
ours=$(seconds "$build/app/ondrex" cat --color=always "$work/big.php")
theirs=$(seconds "$bat" --color=always "$work/big.php")
printf 'ondrex cat --color=always  %8.2f s\n' "$ours"
printf '%s --color=always     %8.2f s\n' "$(basename "$bat")" "$theirs"
printf 'ratio (batcat / ondrex)    %8.1f x\n' "$(echo "$theirs / $ours" | bc -l)"
