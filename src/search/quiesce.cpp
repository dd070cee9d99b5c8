// Quiescence search over captures, and the move ordering of the main search.
#include "search/quiesce.h"

#include <cstdio>

#include "base/poll.h"
#include "board/movegen.h"
#include "board/tables.h"
#include "moves/makemove.h"
#include "search/eval.h"
#include "search/hash.h"
#include "search/search.h"

static const int MATED_SCORE = -32000;
// Plies of the running quiescence search below the node that started it.
static int quiescePly = 0;

// Ordering bands; inside the capture band captures rank by
// 2 x victim - attacker, with the piece codes as they stand.
static const int KEY_HASH_MOVE = 5000000;
static const int KEY_KILLER = 4900000;
static const int KEY_SPECIAL = 4500000;
static const int KEY_CAPTURE = 4000000;
// The from and to fields of a move word: a killer matches on its squares.
static const Move SQUARES_MASK = (63u << 16) | (63u << 5);

// Score of a node without legal moves: mated (distance from the root in
// tenths of a ply) or stalemate, never below alpha.
static int NoMoveScore(const Board& board, int depth, int alpha) {
  int king = board.onMove == WHITE ? board.wKingSquare : board.bKingSquare;
  u64 enemy = board.onMove == WHITE ? blackAttacks : whiteAttacks;
  int score = 0;
  if (king != NO_SQUARE && (enemy & setMask[king])) score = rootDepth - depth + MATED_SCORE;
  return score > alpha ? score : alpha;
}

int Quiesce(Board& board, int depth, int alpha, int beta) {
  if (killerPly + quiescePly > selDepth) selDepth = killerPly + quiescePly;
  // The captures, in the order KeepCaptures would leave them from the full
  // list; a list the walkers would not finish counts as no moves.
  Move list[MOVE_LIST_SIZE];
  int legalCount;
  GenerateCaptures(board, list, legalCount);
  if (legalCount == 0 || legalCount >= MOVE_LIST_LIMIT) return NoMoveScore(board, depth, alpha);
  SortTopCaptures(list);

  // Stand pat: the side to move may decline every capture. The generator
  // has built this position's attack maps.
  int e = EvaluateWithMaps(board, depth);
  if (e >= beta) return beta;
  if (e > alpha) alpha = e;

  for (int i = 0; list[i]; i++) {
    if (endSearch == 3) return alpha;  // stopped: no further node
    MakeMove(list[i], board);
    CountNode();
    if (searchError) {
      printf("Search ErrorQ tracing back to depth %d.\n", depth);
      DumpSearchError(board, list[i]);
      return 0;
    }
    quiescePly++;
    int score = -Quiesce(board, depth - 10, -beta, -alpha);
    quiescePly--;
    UnmakeMove(list[i], board);
    if (searchError) {
      printf("Search ErrorR tracing back to depth %d.\n", depth);
      DumpSearchError(board, list[i]);
      return 0;
    }
    if (score >= beta) return beta;
    if (score > alpha) alpha = score;
    if (i == 251) {
      printf("Error: more than 250 moves\n");
      return alpha;
    }
  }
  return alpha;
}

int KeepCaptures(Move* list) {
  int kept = 0;
  for (int i = 0; i < MOVE_LIST_LIMIT; i++) {
    Move m = list[i];
    if (m == 0) {
      list[kept] = 0;
      SortTopCaptures(list);
      return kept;
    }
    if (MoveCaptured(m)) list[kept++] = m;
  }
  return -1;
}

void SortTopCaptures(Move* list) {
  for (int k = 0; k < 3; k++) {
    if (list[k] == 0) return;
    int best = -200, bestIndex = k;
    for (int i = k; i < MOVE_LIST_LIMIT && list[i]; i++) {
      int value = (MoveCaptured(list[i]) & 15) - (MovePiece(list[i]) & 15);
      if (value > best) {
        best = value;
        bestIndex = i;
      }
    }
    Move swap = list[k];
    list[k] = list[bestIndex];
    list[bestIndex] = swap;
  }
}

void ScoreMoves(Move* list, int n, int* keys) {
  if (n > MOVE_LIST_SIZE) n = MOVE_LIST_SIZE;
  const Move killer = killerMove[killerPly];
  const Move killerSquares = killer & SQUARES_MASK;
  for (int i = 0; i < n; i++) {
    const Move m = list[i];
    if (m == hashMove) keys[i] = KEY_HASH_MOVE;
    else if ((m & SQUARES_MASK) == killerSquares) keys[i] = KEY_KILLER;
    else if (MoveCaptured(m) == 0 && MoveSpecial(m) != 0) keys[i] = KEY_SPECIAL + MoveSpecial(m);
    else if (MoveCaptured(m) != 0) keys[i] = KEY_CAPTURE + 2 * MoveCaptured(m) - MovePiece(m);
    else keys[i] = (int)history[MoveFrom(m)][MoveTo(m)];
  }
}

void SelectMove(Move* list, int* keys, int n, int i) {
  if (n > MOVE_LIST_SIZE) n = MOVE_LIST_SIZE;
  int key = keys[i];
  Move move = list[i];
  for (int j = i + 1; j < n; j++) {
    if (keys[j] > key) {
      keys[i] = keys[j];
      keys[j] = key;
      key = keys[i];
      list[i] = list[j];
      list[j] = move;
      move = list[i];
    }
  }
}

void OrderMoves(const Board& board, Move* list, int n, int depth) {
  // Probed only to learn the stored move of this position.
  HashProbe(depth, board.hashkey, -30000, 30000);
  int keys[MOVE_LIST_SIZE];
  ScoreMoves(list, n, keys);
  for (int i = 0; i < n && i < MOVE_LIST_SIZE; i++) SelectMove(list, keys, n, i);
}
