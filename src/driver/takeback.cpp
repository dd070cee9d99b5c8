// Take-back: one saved state per game move, restored in reverse order.
#include "driver/takeback.h"

#include <cstring>

#include "base/state.h"
#include "board/board.h"

struct SavedState {
  Board board;
  GameRecord record;  // the history record the move overwrites
  int lastIrreversiblePly;
  size_t bookLineLength;
  double comptime;
  double opptime;
};

static SavedState savedStates[GAME_HISTORY_SIZE];
static int savedCount = 0;

void SaveStateBeforeMove() {
  if (savedCount == GAME_HISTORY_SIZE) {
    // A game this long loses its oldest take-back.
    memmove(savedStates, savedStates + 1, sizeof(SavedState) * (GAME_HISTORY_SIZE - 1));
    savedCount--;
  }
  SavedState& s = savedStates[savedCount++];
  s.board = mainBoard;
  const int ply = mainBoard.gamePly;
  s.record = ply >= 0 && ply < GAME_HISTORY_SIZE ? gameHistory[ply] : GameRecord{};
  s.lastIrreversiblePly = lastIrreversiblePly;
  s.bookLineLength = strlen(bookLine);
  s.comptime = comptime;
  s.opptime = opptime;
}

void DropSavedState() {
  if (savedCount > 0) savedCount--;
}

void ForgetSavedStates() { savedCount = 0; }

int SavedStateCount() { return savedCount; }

int TakeBack(int halfMoves) {
  if (halfMoves < 1 || halfMoves > savedCount) return 0;
  for (int i = 0; i < halfMoves; i++) {
    const SavedState& s = savedStates[--savedCount];
    const int ply = s.board.gamePly;
    if (ply >= 0 && ply < GAME_HISTORY_SIZE) gameHistory[ply] = s.record;
    mainBoard = s.board;
    lastIrreversiblePly = s.lastIrreversiblePly;
    if (s.bookLineLength < sizeof(bookLine)) bookLine[s.bookLineLength] = 0;
    comptime = s.comptime;
    opptime = s.opptime;
  }
  return 1;
}
