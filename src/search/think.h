// Iterative deepening, the root search and the think driver.
#pragma once

#include "board/board.h"
#include "search/search.h"

constexpr int THINK_PLAY = 0;
constexpr int THINK_PONDER = 1;
constexpr int THINK_ANALYSE = 2;
// The deepest iteration: the limit without "sd", and the largest "sd".
constexpr int MAX_SEARCH_DEPTH = 60;

extern Move rootMoves[256];
extern int rootMoveCount;
extern Line rootLine;
// Whether the side to move was in check when rootMoves was generated.
extern int rootInCheck;
extern int lastRootScore;
// Effective branching figure of the last search.
extern double effectiveBranching;

void Think(int mode);
int RootSearch(int k, Board& board);
