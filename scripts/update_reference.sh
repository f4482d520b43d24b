#!/usr/bin/env bash
# Writes the expected outputs beside each reference input in tests/highlighters/reference:
# `tokens --format json`, `cat --html` and `scan --format json`. Run it after an intended
# change of output and review `git diff tests/highlighters/reference` before committing.
# The reference test runs it into a scratch folder (second argument) and compares.
#   bash scripts/update_reference.sh [ONDREX [OUTPUT_DIR]]
set -euo pipefail
cd "$(dirname "$0")/.."
bin=$(realpath "${1:-build/app/ondrex}")
out=$(realpath "${2:-tests/highlighters/reference}")
cd tests/highlighters/reference
for input in *; do
  case $input in
  *.tokens.json | *.cat.html | *.scan.json) continue ;;
  esac
  # Run beside the input with its bare name, so that the outputs that name the file do not
  # depend on where the tree is checked out.
  "$bin" tokens --format json "$input" >"$out/$input.tokens.json"
  "$bin" cat --html "$input" >"$out/$input.cat.html"
  "$bin" scan --format json "$input" >"$out/$input.scan.json"
done
