// Game-end adjudication: mate, stalemate, repetition, resignation, the
// fifty-move rule and insufficient material.
#include "search/gameend.h"

#include <cstdio>

#include "base/state.h"
#include "board/movegen.h"
#include "board/tables.h"

// Half-moves without capture or pawn move after which the game is drawn.
static const int FIFTY_MOVE_PLIES = 104;

static int LastRecord(const Board& board) {
  int last = board.gamePly - 2;
  return last < GAME_HISTORY_SIZE ? last : GAME_HISTORY_SIZE - 1;
}

static bool KingAttacked(int kingSquare, u64 attacks) {
  return kingSquare != NO_SQUARE && (attacks & setMask[kingSquare]);
}

int CheckGameEnd(Board board) {
  Move list[MOVE_LIST_SIZE];
  if (GenerateMoves(board, list) == 0) {
    BuildAttackMaps(board);
    if (board.onMove == WHITE)
      printf(KingAttacked(board.wKingSquare, blackAttacks) ? "0-1 {black wins}\n" : "1/2-1/2 {stalemate}\n");
    else
      printf(KingAttacked(board.bKingSquare, whiteAttacks) ? "1-0 {white wins}\n" : "1/2-1/2 {stalemate}\n");
    return 1;
  }

  // The position stands for the fourth time: three earlier records hold its
  // key (the record of the current position itself is not counted).
  int repeats = 0;
  for (int i = 0; i <= LastRecord(board); i++)
    if (gameHistory[i].hashkey == board.hashkey) repeats++;
  if (repeats > 2) {
    printf("1/2-1/2 {drawn by repetition}\n");
    return 1;
  }

  // Three of the engine's own scores beyond the threshold, anywhere in the
  // game, and it resigns.
  int threshold = resignThreshold;
  int worse = 0;
  if (computerSide == WHITE || computerSide == BLACK) {
    for (int i = computerSide == BLACK ? 1 : 0; i <= LastRecord(board); i++) {
      int score = gameHistory[i].score;
      if (computerSide == WHITE ? score < -threshold : score > threshold) worse++;
    }
  }
  if (worse > 2) {
    printf("resign\n");
    printf("# resigned because we had %d scores worse than %d.\n", worse, threshold);
    for (int i = 0; i < board.gamePly && i < GAME_HISTORY_SIZE; i++)
      printf("# move %d, score: %d\n", i, gameHistory[i].score);
    return 1;
  }

  if (board.gamePly - lastIrreversiblePly > FIFTY_MOVE_PLIES) {
    printf("1/2-1/2 {drawn by 50 move rule}\n");
    return 1;
  }

  int pieces = 0;
  for (int s = 0; s < 64; s++)
    if (mainBoard.mailbox[s]) pieces++;
  if (pieces == 2 ||
      (pieces == 3 && (mainBoard.wKnight | mainBoard.wBishop | mainBoard.bKnight | mainBoard.bBishop))) {
    printf("1/2-1/2 {drawn - insufficient material}\n");
    return 1;
  }
  return 0;
}
