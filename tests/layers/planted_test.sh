#!/usr/bin/env bash
# The layer check must catch what it is for: a Qt include in the core and an include that runs
# up a layer, planted in a copy of the rules.
set -u
checker=$1
rules=$2
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
cp "$rules" "$tree/ARCHITECTURE.md"
mkdir -p "$tree/platform/qt" "$tree/highlighters" "$tree/app/window"
printf '#include <QWidget>\n' >"$tree/platform/Planted.cpp"
printf '#include "editor/TqvCustomEdit.h"\n' >"$tree/highlighters/Planted.h"
printf '#include <QWidget>\n#include "platform/Canvas.h"\n' >"$tree/platform/qt/Allowed.cpp"
printf '#include "app/window/RunWindow.h"\n' >"$tree/app/Planted.cpp"
out=$(python3 "$checker" "$tree" 2>&1) && { echo "planted faults passed"; exit 1; }
expected=("platform/Planted.cpp: includes Qt <QWidget>"
          "highlighters/Planted.h: includes editor/TqvCustomEdit.h"
          "app/Planted.cpp: includes app/window/RunWindow.h")
for e in "${expected[@]}"; do
  grep -qF "$e" <<<"$out" || { echo "not reported: $e"; echo "$out"; exit 1; }
done
[[ $(wc -l <<<"$out") -eq ${#expected[@]} ]] || { echo "allowed include reported:"; echo "$out"; exit 1; }
