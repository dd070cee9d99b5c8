// The search under limits: adjudication, book, iterative deepening with an
// aspiration window at the root, and the chosen move for the caller.
#include "search/think.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/clock.h"
#include "base/output.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "board/verify.h"
#include "moves/makemove.h"
#include "search/gameend.h"
#include "search/hash.h"
#include "search/timectl.h"

Move rootMoves[256];
int rootMoveCount = 0;
Line rootLine;
int rootInCheck = 0;
int lastRootScore = 0;
double effectiveBranching = 1.0;

static const int FULL_WINDOW = 65200;
static const int ASPIRATION = 75;
static const int RESEARCH_MARGIN = 20;

int RootSearch(int k, Board& board) {
  int alpha = lastRootScore - ASPIRATION;
  int beta = lastRootScore + ASPIRATION;
  if (k == 1) {
    alpha = -FULL_WINDOW;
    beta = FULL_WINDOW;
    bestRoot = 0;
    nodes = 0;
    selDepth = 0;
    // A new search: the lines of an earlier one belong to another position
    // and must never show up in this one's thinking or results.
    rootLine.count = 0;
    solutionLine.count = 0;
    solutionDepth = 0;
    solutionTime = 0;
    solutionNodes = 0;
  }
  rootDepth = 10 * k;
  killerPly = 0;
  searchError = 0;

  int v = Search(board, rootDepth, alpha, beta, 0, rootLine);
  lastRootScore = v;
  if (v <= alpha && !inPonder && endSearch != 3) {
    Output(OUT_CONSOLE | OUT_LOG, "fail-low, alpha=%d.  Researching depth %d...\n", alpha, k);
    v = Search(board, rootDepth, -FULL_WINDOW, beta + RESEARCH_MARGIN, 0, rootLine);
    lastRootScore = v;
    alpha = -FULL_WINDOW;
  }
  if (v >= beta && !inPonder) {
    Output(OUT_CONSOLE | OUT_LOG, "fail-high, beta=%d.  Researching depth %d...\n", beta, k);
    v = Search(board, rootDepth, alpha - RESEARCH_MARGIN, FULL_WINDOW, 0, rootLine);
    lastRootScore = v;
  }

  if (endSearch == 0 && inPonder == 0) {
    if (!VerifyBoard(board)) printf("Problem: Search has corrupted mainBoard\n");
    if (searchError) {
      printf("Search ErrorU back at root.\n");
      DisplayBoard(board, 0);
      DisplayBoard(board, 1);
      char fen[FEN_SIZE];
      WriteFen(board, fen);
      printf("FEN: %s\n", fen);
      inSearch = 0;
      return 0;
    }
  }

  ReportThinking(THINKING_ITERATION, rootDepth / 10, ElapsedSince(searchStartTime), lastRootScore, rootLine);
  return lastRootScore;
}

// Ponder set-up: guess the opponent's move with a one-ply search and play
// it on the search copy. Returns 0 when the opponent's move (or another
// command that stops the search) arrived meanwhile: there is nothing left to
// ponder on, and a ponder search now would run on the engine's own clock.
static int PredictOpponentMove(Board& board, u64 searchedKey) {
  rootMoveCount = GenerateMoves(board, rootMoves);
  rootInCheck = inCheck;
  inSearch = 1;
  bestRoot = 0;
  endSearch = 0;
  RootSearch(1, board);
  Move guess = rootMoves[bestRoot];
  MakeMove(guess, board);
  inSearch = 0;
  inPonder = 1;
  ClearHashTable();
  ClearHistoryAndKillers();
  return endSearch != 3 && mainBoard.hashkey == searchedKey;
}

// Moves the best root move to the front; the others keep their order.
static void PromoteBestRootMove() {
  if (bestRoot == 0) return;
  Move best = rootMoves[bestRoot];
  memmove(rootMoves + 1, rootMoves, (size_t)bestRoot * sizeof(Move));
  rootMoves[0] = best;
  bestRoot = 0;
}

// The stop thresholds of the limits: none, a fixed time, or the clock's
// allocation for the mode.
static void AllocateForLimits(const SearchLimits& limits) {
  if (limits.infinite)
    AllocateNoTimeLimit();
  else if (limits.moveTime > 0)
    AllocateFixedTime(limits.moveTime);
  else
    AllocateTime(limits.mode);
}

void RestartClock(const SearchLimits& limits) {
  AllocateForLimits(limits);
  searchStartTime = ReadClock();
}

// Keeps the root moves named in the list (ended by 0), in their order. A
// list that names none of them leaves every move.
static void KeepSearchMoves(const Move* searchMoves) {
  int kept = 0;
  for (int i = 0; i < rootMoveCount; i++)
    for (const Move* m = searchMoves; *m; m++)
      if (*m == rootMoves[i]) {
        rootMoves[kept++] = rootMoves[i];
        break;
      }
  if (kept == 0) return;
  rootMoves[kept] = 0;
  rootMoveCount = kept;
}

void SearchPosition(const SearchLimits& limits) {
  const int mode = limits.mode;
  if (limits.adjudicate && CheckGameEnd(mainBoard)) {
    printf("Entering forcemode.\n");
    forceMode = 1;
    inSearch = 0;
    return;
  }

  Board board = mainBoard;
  const u64 searchedKey = mainBoard.hashkey;

  for (auto& row : history)
    for (auto& counter : row) counter >>= 11;
  memset(killerMove, 0, sizeof(killerMove));
  killerPly = 0;

  if (mode == THINK_PONDER) {
    if (!PredictOpponentMove(board, searchedKey)) {
      inSearch = 0;
      endSearch = 0;
      inPonder = 0;
      if (ponderMode != 0) ponderMode = 1;
      return;
    }
  } else if (mode == THINK_PLAY) {
    if (limits.probeBook && limits.probeBook()) return;
  }

  int maxDepth = fixedDepth > 0 ? fixedDepth : MAX_SEARCH_DEPTH;
  if (limits.depth > 0 && limits.depth < maxDepth) maxDepth = limits.depth;
  rootMoveCount = GenerateMoves(board, rootMoves);
  rootInCheck = inCheck;
  if (mode == THINK_PLAY && rootMoveCount == 1) maxDepth = 1;
  if (limits.searchMoves) KeepSearchMoves(limits.searchMoves);
  if (mode == THINK_PONDER && rootMoveCount == 0) {
    ponderMode = 0;
    maxDepth = 0;
  }

  AllocateForLimits(limits);
  searchStartTime = ReadClock();
  endSearch = 0;
  nodeLimit = limits.nodes > 0 ? limits.nodes : UINT64_MAX;

  int v = 0;
  double elapsed = 0;
  double iterationTimes[2] = {0, 0};
  int finishedIterations = 0;
  effectiveBranching = 1.0;
  for (int k = 1; k <= maxDepth; k++) {
    inSearch = k;
    v = RootSearch(k, board);
    elapsed = ElapsedSince(searchStartTime);
    if (!inPonder) ReportThinking(THINKING_KIBITZ, rootDepth / 10, elapsed, v, rootLine);
    if (endSearch != 0) {
      Output(OUT_CONSOLE | OUT_LOG, "# Endsearch=%d\n", endSearch);
      break;
    }
    // Branching figure: ratio of the last two completed iterations' times.
    iterationTimes[0] = iterationTimes[1];
    iterationTimes[1] = elapsed;
    if (++finishedIterations >= 2 && iterationTimes[0] > 0)
      effectiveBranching = iterationTimes[1] / iterationTimes[0];
    if (abs(v) > 30000) {  // a mate: deeper iterations add nothing
      if (mode == THINK_PONDER) ponderMode = 0;
      break;
    }
    PromoteBestRootMove();
  }

  if (mode == THINK_PLAY) {
    if (ponderMode != 0) ponderMode = 2;
    if (limits.onResult) limits.onResult({rootMoves[bestRoot], bestRoot, v, elapsed, searchedKey});
  }

  inSearch = 0;
  endSearch = 0;
  inPonder = 0;
  nodeLimit = UINT64_MAX;
  if (mode == THINK_PONDER && ponderMode != 0) ponderMode = 1;
}
