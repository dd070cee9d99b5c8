#!/usr/bin/env bash
# Prints the include graph of src/ by layer: one row per pair of layers
# "FROM -> TO  COUNT", marked "UP" where a file includes a layer above its own.
# Layers from the bottom: base, board, moves, search, book, driver.
cd "$(dirname "$0")/../src" || exit 1
rank() { case "$1" in base) echo 0;; board) echo 1;; moves) echo 2;; search) echo 3;; book) echo 4;; driver) echo 5;; *) echo 9;; esac; }
grep -H '^#include "' */*.h */*.cpp 2>/dev/null |
  sed -E 's#^([a-z]+)/[^:]*:\#include "([a-z]+)/.*#\1 \2#' |
  sort | uniq -c |
  while read -r count from to; do
    mark=""
    [ "$(rank "$to")" -gt "$(rank "$from")" ] && mark="  UP"
    printf '%-7s -> %-7s %4d%s\n' "$from" "$to" "$count" "$mark"
  done
