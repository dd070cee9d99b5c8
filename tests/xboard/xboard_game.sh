#!/usr/bin/env bash
# Plays one game under the real xboard GUI (headless, under Xvfb) against
# Fairy-Max at 40 moves in 20 seconds, and checks that it ended regularly:
# mate, resignation, or a draw by rule or adjudication, with no illegal
# move, time forfeit, crash or hang. The PGN, the xboard debug log and the
# engine's log are kept in the artefact folder for diagnosis.
#   xboard_game.sh ENGINE_BINARY ARTEFACT_DIR
# XBOARD_TIME_CONTROL replaces the time control options, e.g.
# "-tc 0:30 -inc 0" (sudden death) or "-tc 0:10 -inc 0.5".
# QUORVEL_PROTOCOL=uci plays the engine in UCI mode through Debian's
# polyglot adapter (its log is kept as polyglot.log).
set -u
engine=$(readlink -f "$1")
artefacts=$(mkdir -p "$2" && readlink -f "$2")
export PATH="$PATH:/usr/games"

tools="xvfb-run xboard fairymax"
[ "${QUORVEL_PROTOCOL:-xboard}" = uci ] && tools="$tools polyglot"
for tool in $tools; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "xboard game test needs $tool (packages xvfb, xboard, fairymax, polyglot)"
    exit 1
  fi
done

work=$(mktemp -d /tmp/quorvel-xboard.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/engine"
# The engine plays with its own settings file from its working directory.
printf 'hash 16\nresign 1000\n' > "$work/engine/Quorvel.rc"

first="$engine"
if [ "${QUORVEL_PROTOCOL:-xboard}" = uci ]; then
  first="polyglot -noini -log true -lf $artefacts/polyglot.log -ec $engine -ed $work/engine"
fi

rm -f "$artefacts/games.pgn" "$artefacts/xboard.debug" "$artefacts/Quorvel.log" "$artefacts/polyglot.log"
cd "$work"
HOME="$work/home" timeout 600 xvfb-run -a xboard \
  -fcp "$first" -fd "$work/engine" -scp fairymax \
  -mg 1 ${XBOARD_TIME_CONTROL:--tc 0:20 -mps 40} -sgf "$artefacts/games.pgn" \
  -debug -nameOfDebugFile "$artefacts/xboard.debug" \
  -xexit -saveSettingsOnExit false -xponder -autoCallFlag true \
  -testClaims true -popupMoveErrors false >"$artefacts/xboard.out" 2>&1
status=$?
cp -f "$work/engine/Quorvel.log" "$artefacts/Quorvel.log" 2>/dev/null

if [ $status -ne 0 ]; then
  echo "xboard exited with status $status (124 means it hung)"
  exit 1
fi
if [ ! -s "$artefacts/games.pgn" ]; then
  echo "no game was saved"
  exit 1
fi
echo "--- games.pgn"
cat "$artefacts/games.pgn"

result=$(sed -n 's/^\[Result "\(.*\)"\]/\1/p' "$artefacts/games.pgn" | head -1)
case "$result" in
  1-0|0-1|1/2-1/2) ;;
  *) echo "game has no regular result: '$result'"; exit 1 ;;
esac
# Quorvel plays White (first engine). Fairy-Max running out of time on a
# loaded machine is its own fault, not ours: such a game counts as played.
if grep -q -E "\{White wins on time\}" "$artefacts/games.pgn"; then
  echo "game ended with the opponent out of time: $result"
  exit 0
fi
# The closing comment names how the game ended; anything else that points
# at a fault of either engine fails the test.
if grep -i -E "forfeit|illegal|time|crash|disconnect|exit|abort|stall|false" "$artefacts/games.pgn" \
    | grep -v -E '^\[(TimeControl|Date|Time)' ; then
  echo "the game did not end regularly; end of the xboard debug log:"
  tail -40 "$artefacts/xboard.debug"
  exit 1
fi
if grep -E "Illegal move|illegal move" "$artefacts/xboard.debug" | grep -i quorvel; then
  echo "the engine sent an illegal move"
  exit 1
fi
echo "game ended regularly: $result"
exit 0
