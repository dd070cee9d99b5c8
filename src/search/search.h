// The alpha-beta search and its shared state. Uses the base, board and
// moves layers.
#pragma once

#include <cstdint>

#include "base/poll.h"
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

// The running search stops once it has visited this many nodes (no limit
// outside a search with a node limit).
extern uint64_t nodeLimit;
// Deepest ply from the root that the running search has reached, the
// quiescence search included.
extern int selDepth;

// Counts the node just entered: polls the input every pollnodes + 1 nodes
// and raises the stop once the node limit is reached.
inline void CountNode() {
  nodes++;
  if ((nodes & (uint64_t)(int64_t)pollnodes) == 0) PollInput();
  if (nodes >= nodeLimit) endSearch = 3;
}

int Search(Board& board, int depth, int alpha, int beta, int nullFlag, Line& line);
void ClearHistoryAndKillers();

// Board dump (both views, the move, the FEN) after make or unmake found an
// inconsistent board during a search.
void DumpSearchError(const Board& board, const Move& move);
