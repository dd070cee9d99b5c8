#!/bin/bash
# Side-by-side speed of two engine binaries on the same machine in one run:
# the first benchmark row (p1 to depth 9) and perft 6 from the start
# position, old and new alternating, ROUNDS times (default 1).
#
#   tools/compare-speed.sh OLD_BINARY NEW_BINARY
#   ROUNDS=3 tools/compare-speed.sh build-old/quorvel build/quorvel
#
# Prints nodes, seconds and nodes per second of every run, the speed ratio
# (old time / new time), and whether the thinking lines of the benchmark row
# are the same apart from their time column. Each run starts in an empty
# directory, so no Quorvel.rc is read and the default hash size applies.
set -u

if [ $# -ne 2 ] || [ ! -x "$1" ] || [ ! -x "$2" ]; then
  echo "usage: $0 OLD_BINARY NEW_BINARY" >&2
  exit 2
fi
OLD=$(realpath "$1")
NEW=$(realpath "$2")
ROUNDS=${ROUNDS:-1}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# The first row of "bench": its lines from the header through the first
# "Elapsed time" line go to $2; "quit" then ends the benchmark.
first_row() {
  local binary=$1 out=$2 dir line started=0
  dir=$(mktemp -d -p "$WORK")
  : >"$out"
  coproc ENGINE { cd "$dir" && exec "$binary"; }
  echo bench >&"${ENGINE[1]}"
  while IFS= read -r -t 7200 line <&"${ENGINE[0]}"; do
    [ "$line" = testpos1 ] && started=1
    [ $started = 1 ] && echo "$line" >>"$out"
    case $line in "Elapsed time"*) break ;; esac
  done
  echo quit >&"${ENGINE[1]}"
  wait "$ENGINE_PID" 2>/dev/null
}

# Nodes of the row's last thinking line, and its elapsed seconds.
row_nodes() { awk '$1 ~ /^[0-9]+$/ && NF >= 4 { n = $4 } END { print n }' "$1"; }
row_seconds() { awk '/^Elapsed time/ { print $3 }' "$1"; }
# The row with the time column of the thinking lines and the poll interval
# (derived from the start-up speed measurement) masked.
row_masked() {
  sed -E 's/pollnodes=[0-9]+/pollnodes=N/; s/^( *[0-9]+ +-?[0-9]+ +)[0-9]+/\1T/; s/ +/ /g; /^Elapsed time/d' "$1"
}

perft6() {
  local dir
  dir=$(mktemp -d -p "$WORK")
  (cd "$dir" && printf 'perft 6\nquit\n' | "$1") | awk '/^perft 6:/ { print $3, $5 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
nps() { awk -v n="$1" -v t="$2" 'BEGIN { if (t > 0) printf "%.0f", n / t; else print "-" }'; }

echo "old: $OLD"
echo "new: $NEW"
same=yes
for round in $(seq "$ROUNDS"); do
  first_row "$OLD" "$WORK/old-row.txt"
  first_row "$NEW" "$WORK/new-row.txt"
  on=$(row_nodes "$WORK/old-row.txt"); os=$(row_seconds "$WORK/old-row.txt")
  nn=$(row_nodes "$WORK/new-row.txt"); ns=$(row_seconds "$WORK/new-row.txt")
  if ! diff <(row_masked "$WORK/old-row.txt") <(row_masked "$WORK/new-row.txt") >"$WORK/row.diff"; then
    same=no
    echo "round $round: the thinking lines differ:"
    head -20 "$WORK/row.diff"
  fi
  read -r pon pos <<<"$(perft6 "$OLD")"
  read -r pnn pns <<<"$(perft6 "$NEW")"
  echo "round $round"
  printf '  bench row 1 (p1 depth 9)  old %11s nodes %8s s %9s nps\n' "$on" "$os" "$(nps "$on" "$os")"
  printf '                            new %11s nodes %8s s %9s nps   speed x%s\n' "$nn" "$ns" \
    "$(nps "$nn" "$ns")" "$(ratio "$os" "$ns")"
  printf '  perft 6 (start)           old %11s nodes %8s s %9s nps\n' "$pon" "$pos" "$(nps "$pon" "$pos")"
  printf '                            new %11s nodes %8s s %9s nps   speed x%s\n' "$pnn" "$pns" \
    "$(nps "$pnn" "$pns")" "$(ratio "$pos" "$pns")"
  [ "$on" = "$nn" ] || same=no
  [ "$pon" = "$pnn" ] || same=no
done
echo "same node counts and thinking lines apart from times: $same"
[ $same = yes ]
