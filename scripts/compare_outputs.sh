#!/usr/bin/env bash
# Records what scan, block, tokens and cat print for every corpus file, or compares a new
# recording with an earlier one, so a refactoring can show it changed no output byte.
#   bash scripts/compare_outputs.sh record DIR [ONDREX]
#   bash scripts/compare_outputs.sh compare DIR [ONDREX]   (records into DIR.new, then diffs)
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:?record or compare}
dir=${2:?output folder}
bin=${3:-build/app/ondrex}
corpus=../shared/corpus
if [[ ! -f $corpus/MANIFEST.tsv ]]; then
  echo "compare_outputs: no corpus at $corpus" >&2
  exit 1
fi

# One file per corpus file: each command's stdout, stderr and exit status in turn.
run() {
  local out=$1
  shift
  {
    printf '=== %s\n' "$*"
    "$bin" "$@" 2>&1
    printf '=== exit %d\n' "$?"
  } >>"$out" || true
}

record() {
  local target=$1
  rm -rf "$target"
  mkdir -p "$target"
  local count=0 path file out line
  while IFS=$'\t' read -r path _; do
    [[ $path == path ]] && continue
    file=$corpus/$path
    out=$target/${path//\//__}
    run "$out" scan "$file"
    run "$out" scan --format json "$file"
    run "$out" tokens --format json "$file"
    run "$out" cat --color=always "$file"
    run "$out" cat --html "$file"
    run "$out" cat --color=never "$file"
    # The blocks of the first few hits, as text and as JSON, plus a line that has none.
    for line in 1 $("$bin" scan --dim --if --format tsv "$file" 2>/dev/null | cut -f3 | head -n 4); do
      run "$out" block --dim --if "$file" "$line"
      run "$out" block --dim --if --format json "$file" "$line"
    done
    count=$((count + 1))
  done <"$corpus/MANIFEST.tsv"
  echo "$count"
}

case $mode in
record)
  echo "recorded $(record "$dir") files into $dir"
  ;;
compare)
  count=$(record "$dir.new")
  if diff -r -q "$dir" "$dir.new"; then
    echo "identical: $count files"
  else
    echo "outputs differ (see diff -r $dir $dir.new)" >&2
    exit 1
  fi
  ;;
*)
  echo "usage: compare_outputs.sh record|compare DIR [ONDREX]" >&2
  exit 2
  ;;
esac
