// The engine interface: game position, new game, stop and the default
// thinking output.
#include "search/engine.h"

#include <cstring>

#include "base/output.h"
#include "base/words.h"
#include "board/fen.h"
#include "moves/parsemove.h"
#include "search/hash.h"
#include "search/timectl.h"

static const char* const START_POSITION = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
// Longest move word SetPosition reads; longer ones are not moves.
static const int MOVE_WORD_SIZE = 16;

void (*thinkingHook)(const ThinkingReport& report) = ShowThinking;

void ShowThinking(const ThinkingReport& report) {
  if (report.kind == THINKING_KIBITZ) {
    if (!inPonder && kibitzMode && report.elapsed > 10.0)
      PrintThinking(report.ply, report.elapsed, report.score, (int)report.nodes, *report.line, 0);
    return;
  }
  if (!postMode) return;
  if (inPonder) Output(OUT_CONSOLE, "# ");
  PrintThinking(report.ply, report.elapsed, report.score, (int)report.nodes, *report.line, 1);
}

void StopSearch() { endSearch = 3; }

int SetPosition(const char* fen, const char* moves, char* badMove, int badMoveSize) {
  ReadFen(fen ? fen : START_POSITION, mainBoard);
  // A set-up position is not a game from the start: the text book, which
  // knows games, does not follow it.
  mainBoard.gamePly = fen ? (mainBoard.onMove == WHITE ? 2 : 3) : 0;
  lastIrreversiblePly = mainBoard.gamePly;
  memset(gameHistory, 0, sizeof(gameHistory));
  if (fen)
    strcpy(bookLine, "8");
  else
    bookLine[0] = 0;
  if (badMoveSize > 0) badMove[0] = 0;
  char word[MOVE_WORD_SIZE];
  while (moves) {
    moves = NextWord(moves, word, sizeof word);
    if (word[0] == 0) break;
    if (!ParseUserMove(word)) {
      if (badMoveSize > 0) {
        strncpy(badMove, word, (size_t)badMoveSize - 1);
        badMove[badMoveSize - 1] = 0;
      }
      return 0;
    }
  }
  return 1;
}

int NewGame() {
  endSearch = 3;
  ReadFen(START_POSITION, mainBoard);
  mainBoard.gamePly = 0;
  computerSide = 1;
  forceMode = 0;
  comptime = opptime = baseMinutes * 60;
  ClearSearchMemory();
  bookLine[0] = 0;
  memset(gameHistory, 0, sizeof(gameHistory));
  return 1;
}

void ClearSearchMemory() {
  ClearHashTable();
  ClearHistoryAndKillers();
}
