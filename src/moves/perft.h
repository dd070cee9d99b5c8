// Leaf counts of the move tree, whole and per root move.
#pragma once

#include <cstdint>

#include "board/board.h"

extern int checkSide;

int PerftCount(int depth);
uint64_t perft(int depth);
void divide(int depth);
int MoverInCheck(const Board& board);
