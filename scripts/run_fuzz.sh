#!/usr/bin/env bash
# Runs every fuzz target briefly: each tests/fuzz/fuzz_*.cpp must have been built into
# BUILD_DIR (bash scripts/build.sh BUILD_DIR -DONDREX_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++).
# Seeds come from ../shared/corpus by file extension where a target has a language and the
# corpus is there; otherwise the target starts from nothing. Fails at the first target that
# is missing or finds a crash, a leak or a time-out (the input is kept and named).
#
#   bash scripts/run_fuzz.sh [BUILD_DIR] [SECONDS_PER_TARGET]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-fuzz}
seconds=${2:-30}
corpus=../shared/corpus
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The corpus files a target's inputs look like, as find(1) name patterns.
seed_patterns() {
  case $1 in
  fuzz_vbscript | fuzz_scanner) echo '*.vbs *.asp *.inc *.asa' ;;
  fuzz_javascript) echo '*.js' ;;
  fuzz_perl) echo '*.pl *.pm *.cgi' ;;
  fuzz_php) echo '*.php *.php3 *.php4' ;;
  fuzz_lsp_messages) echo '*.none' ;; # seeded with messages by lsp_seeds
  *) echo '*.htm *.html' ;;
  esac
}

# A few framed requests on the document the language server target opens (its first byte
# is the read size).
lsp_seeds() {
  local uri='{"textDocument":{"uri":"file:///f.asp"}'
  local m
  for m in "\"textDocument/documentSymbol\",\"params\":$uri}" \
    "\"textDocument/semanticTokens/full\",\"params\":$uri}" \
    "\"textDocument/definition\",\"params\":$uri,\"position\":{\"line\":1,\"character\":8}}" \
    "\"textDocument/semanticTokens/full/delta\",\"params\":$uri,\"previousResultId\":\"1\"}" \
    "\"workspace/symbol\",\"params\":{\"query\":\"f\"}}" \
    "\"textDocument/didChange\",\"params\":$uri,\"contentChanges\":[{\"range\":{\"start\":{\"line\":0,\"character\":3},\"end\":{\"line\":2,\"character\":1}},\"text\":\"x\\ny\"}]}"; do
    local body="{\"jsonrpc\":\"2.0\",\"id\":2,\"method\":$m}"
    printf '\x07Content-Length: %d\r\n\r\n%s' "${#body}" "$body" >"$1/seed_$(printf %s "$m" | md5sum | cut -c1-8)"
  done
}

ran=0
for src in tests/fuzz/fuzz_*.cpp; do
  name=$(basename "$src" .cpp)
  bin=$build/tests/fuzz/$name
  if [[ ! -x $bin ]]; then
    echo "run_fuzz: $bin was not built" >&2
    exit 1
  fi
  dir=$work/$name
  mkdir -p "$dir/corpus" "$dir/found"
  if [[ -d $corpus ]]; then
    args=()
    for pattern in $(seed_patterns "$name"); do
      args+=(-o -name "$pattern")
    done
    find "$corpus" -type f -size -64k \( "${args[@]:1}" \) -exec cp -t "$dir/corpus" {} + 2>/dev/null || true
  fi
  [[ $name == fuzz_lsp_messages ]] && lsp_seeds "$dir/corpus"
  echo "== $name: $(find "$dir/corpus" -type f | wc -l) seeds, ${seconds} s"
  if ! "$bin" -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$dir/found/" "$dir/corpus" >"$dir/log" 2>&1; then
    tail -n 60 "$dir/log" >&2
    mkdir -p fuzz-failures
    cp "$dir"/found/* fuzz-failures/ 2>/dev/null || true
    echo "run_fuzz: $name failed; its input is in fuzz-failures/" >&2
    exit 1
  fi
  grep -E '^stat::number_of_executed_units|^Done' "$dir/log" || true
  ran=$((ran + 1))
done
echo "run_fuzz: $ran targets, no failure"
