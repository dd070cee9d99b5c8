// Time allocation and the thinking output.
#pragma once

#include "search/search.h"

// The longest clock, time per move or increment the time allocation takes
// (ten thousand minutes, well inside the period of the clock).
constexpr double MAX_CLOCK_SECONDS = 600000.0;
// The most moves a time control may count.
constexpr int MAX_MOVES_PER_CONTROL = 10000;

void AllocateTime(int mode);
void PrintThinking(int ply, double elapsed, int score, int nodes, const Line& line, int form);
