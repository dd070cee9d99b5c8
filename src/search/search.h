// The alpha-beta search and its shared state. Uses the base, board and
// moves layers.
#pragma once

#include <cstdint>

#include "base/state.h"
#include "board/board.h"

constexpr int MAX_LINE = 100;
constexpr int MAX_KILLER_PLY = 100;
constexpr int MATE_SCORE = 32700;

// A principal variation.
struct Line {
  int count;
  Move moves[MAX_LINE];
};

extern uint32_t history[64][64];
extern Move killerMove[MAX_KILLER_PLY];
extern int killerPly;
extern int rootDepth;

// Written at the root for the analysers.
extern int bestRoot;
extern int bestRootScore;
// Index in rootMoves of the root move being searched.
extern int rootMoveIndex;
extern Line solutionLine;
extern double solutionTime;
extern uint64_t solutionNodes;
extern int solutionDepth;

int Search(Board& board, int depth, int alpha, int beta, int nullFlag, Line& line);
void ClearHistoryAndKillers();

// Board dump (both views, the move, the FEN) after make or unmake found an
// inconsistent board during a search.
void DumpSearchError(const Board& board, const Move& move);
