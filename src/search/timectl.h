// Time allocation and the thinking output.
#pragma once

#include "search/search.h"

void AllocateTime(int mode);
void PrintThinking(int ply, double elapsed, int score, int nodes, const Line& line, int form);
