// Time allocation: the stop thresholds and the poll interval of a search,
// the clock check at each poll, and the thinking line. Uses the base, board,
// moves and search layers.
#pragma once

#include "search/search.h"

// The longest clock, time per move or increment the time allocation takes
// (ten thousand minutes, well inside the period of the clock).
constexpr double MAX_CLOCK_SECONDS = 600000.0;
// The most moves a time control may count.
constexpr int MAX_MOVES_PER_CONTROL = 10000;

// Sets stopTimeA/B/C and pollnodes from the game clock for a search of the
// mode (THINK_PLAY, THINK_PONDER, THINK_ANALYSE) and prints them.
void AllocateTime(int mode);
// A search of at most the given seconds.
void AllocateFixedTime(double seconds);
// A search that only a stop ends.
void AllocateNoTimeLimit();
// Raises endSearch to 1, 2 or 3 as the elapsed time of the running search
// passes the thresholds.
void CheckStopTimes();
void PrintThinking(int ply, double elapsed, int score, int nodes, const Line& line, int form);
