// The think driver of the xboard front end.
#include "driver/play.h"

#include <cstdio>
#include <cstring>

#include "base/output.h"
#include "book/book.h"
#include "moves/makemove.h"
#include "moves/movetext.h"

static void AppendToBookLine(const char* text) {
  size_t length = strlen(bookLine);
  size_t add = strlen(text);
  if (length + add < (size_t)BOOK_LINE_SIZE) memcpy(bookLine + length, text, add + 1);
}

static void PlayMove(const SearchResult& result) {
  Move m = result.move;
  char text[8];
  MoveToText(m, text);
  Output(OUT_CONSOLE | OUT_LOG, "Best move %d is: %s (%d) %d to %d, score=%d  elapsed=%lf\n",
         mainBoard.gamePly / 2 + 1, text, result.rootIndex, MoveFrom(m), MoveTo(m), result.score,
         result.elapsed);
  if (forceMode != 0) return;
  // A command during the search may have replaced the game position; the
  // move belongs to the position that was searched.
  if (mainBoard.hashkey != result.searchedKey) {
    printf("Error: the position changed during the search; no move played.\n");
    return;
  }
  if (mainBoard.gamePly >= 0 && mainBoard.gamePly < GAME_HISTORY_SIZE)
    gameHistory[mainBoard.gamePly].score = mainBoard.onMove == WHITE ? result.score : -result.score;
  AppendToBookLine(text);
  MakeMove(m, mainBoard);
  if (MoveCaptured(m) || (MovePiece(m) & 15) == PAWN) lastIrreversiblePly = mainBoard.gamePly;
  comptime -= result.elapsed;
  printf("move %s\n", text);
}

// The book is asked for the engine's own move below its last half-move.
static int ProbeBookEarly() { return mainBoard.gamePly < BOOK_PLIES && ProbeBook(); }

void Think(int mode) {
  SearchLimits limits = {};
  limits.mode = mode;
  limits.adjudicate = 1;
  if (mode == THINK_PLAY) {
    limits.probeBook = ProbeBookEarly;
    limits.onResult = PlayMove;
  }
  SearchPosition(limits);
}
