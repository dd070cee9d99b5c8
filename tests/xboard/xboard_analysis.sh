#!/usr/bin/env bash
# Analyses a short game file under the real xboard GUI (headless, under
# Xvfb, "Analyze File" mode) and checks that xboard wrote the engine's score
# and depth into the saved game as a comment after every move it analysed.
# xboard stays open once the file is done; the script ends it with SIGTERM
# when its debug log shows the analysis was left ("exit"), which makes it
# save the game. The game, the saved file and the logs stay in the artefact
# folder for diagnosis.
#   xboard_analysis.sh ENGINE_BINARY ARTEFACT_DIR
set -u
engine=$(readlink -f "$1")
artefacts=$(mkdir -p "$2" && readlink -f "$2")
export PATH="$PATH:/usr/games"

for tool in xvfb-run xboard; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "xboard analysis test needs $tool (packages xvfb, xboard)"
    exit 1
  fi
done

work=$(mktemp -d /tmp/quorvel-analysis.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/engine"
printf 'hash 16\n' > "$work/engine/Quorvel.rc"

cat > "$artefacts/game.pgn" <<'EOF'
[Event "Analysis test"]
[Site "?"]
[Date "2026.12.10"]
[Round "1"]
[White "White"]
[Black "Black"]
[Result "*"]

1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 *
EOF
rm -f "$artefacts/analysed.pgn" "$artefacts/xboard.debug" "$artefacts/Quorvel.log"

cd "$work"
HOME="$work/home" xvfb-run -a xboard \
  -fcp "$engine" -fd "$work/engine" -mode AnalyzeFile \
  -lgf "$artefacts/game.pgn" -sgf "$artefacts/analysed.pgn" -timeDelay 1 \
  -debug -nameOfDebugFile "$artefacts/xboard.debug" \
  -saveSettingsOnExit false -popupMoveErrors false >"$artefacts/xboard.out" 2>&1 &
runner=$!

# About a second a move; a minute is ample even on a loaded machine.
left=120
while [ $left -gt 0 ] && ! grep -q ">first : exit" "$artefacts/xboard.debug" 2>/dev/null; do
  if ! kill -0 $runner 2>/dev/null; then break; fi
  sleep 0.5
  left=$((left - 1))
done
gui=$(pgrep -P $runner -x xboard)
if [ -n "$gui" ]; then kill -TERM $gui; fi
# xboard saves the game and ends; xvfb-run follows.
for _ in $(seq 1 20); do
  kill -0 $runner 2>/dev/null || break
  sleep 0.5
done
if kill -0 $runner 2>/dev/null; then
  kill -TERM $runner
  echo "xboard did not end after SIGTERM"
fi
cp -f "$work/engine/Quorvel.log" "$artefacts/Quorvel.log" 2>/dev/null

if [ ! -s "$artefacts/analysed.pgn" ]; then
  echo "no analysed game was saved; end of the xboard debug log:"
  tail -40 "$artefacts/xboard.debug"
  exit 1
fi
echo "--- analysed.pgn"
cat "$artefacts/analysed.pgn"

# xboard sends the game's first move before "analyze", so its first score
# belongs to the position after 1. e4, written after the second move. Every
# move from there on (seven of the game's eight) carries a comment like
# {+0.13/7}.
scores=$(grep -o -E '\{[+-][0-9]+\.[0-9]+/[0-9]+\}' "$artefacts/analysed.pgn" | wc -l)
expected=7
if [ "$scores" -lt "$expected" ]; then
  echo "expected a score comment after each of the last $expected moves, found $scores"
  tail -40 "$artefacts/xboard.debug"
  exit 1
fi
if grep -E "<first : (move |Illegal|Error)" "$artefacts/xboard.debug"; then
  echo "the engine sent a move or an error during the analysis"
  exit 1
fi
echo "analysis written: $scores scores"
exit 0
