// Leaf counts of the move tree, whole and per root move.
// Moves layer: uses the base, board and moves layers.
#pragma once

#include <cstdint>

#include "board/board.h"

extern int checkSide;

int PerftCount(int depth);
uint64_t perft(int depth);
void divide(int depth);
int MoverInCheck(const Board& board);
