// Iterative deepening and the root search behind SearchPosition, and the
// root's state that the analysers read. Uses the base, board, moves and
// search layers.
#pragma once

#include "board/board.h"
#include "search/engine.h"
#include "search/search.h"

extern Move rootMoves[256];
extern int rootMoveCount;
extern Line rootLine;
// Whether the side to move was in check when rootMoves was generated.
extern int rootInCheck;
extern int lastRootScore;
// Effective branching figure of the last search.
extern double effectiveBranching;

int RootSearch(int k, Board& board);

// Hands a thinking report to the installed hook.
inline void ReportThinking(int kind, int ply, double elapsed, int score, const Line& line) {
  if (thinkingHook) thinkingHook({kind, ply, elapsed, score, nodes, &line, selDepth, 0, 0});
}

// Tells the installed hook that the search of a root move begins (with the
// line as it stands, so that a hook may read any report's line).
inline void ReportRootMove(Move move, int number) {
  if (thinkingHook)
    thinkingHook({THINKING_ROOT_MOVE, rootDepth / 10, 0, 0, nodes, &rootLine, selDepth, move, number});
}
