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
# "wall user" seconds of one run, output to /dev/null.
timed() { local TIMEFORMAT='%R %U'; { time "$@" >/dev/null; } 2>&1; }
read -r ours_wall ours_user < <(timed "$build/app/ondrex" cat --color=always "$php")
read -r bat_wall bat_user < <(timed "$bat" --color=always "$php")
printf '%-28s %9s %9s\n' "" "wall s" "user s"
printf '%-28s %9.2f %9.2f\n' "ondrex cat --color=always" "$ours_wall" "$ours_user"
printf '%-28s %9.2f %9.2f\n' "$(basename "$bat") --color=always" "$bat_wall" "$bat_user"
printf '%-28s %9.1f %9.1f\n' "ratio (batcat / ondrex)" "$(echo "$bat_wall / $ours_wall" | bc -l)" \
    "$(echo "$bat_user / $ours_user" | bc -l)"
