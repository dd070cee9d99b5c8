// Quiescence search and move ordering.
// Search layer: uses the base, board, moves and search layers.
#pragma once

#include "board/board.h"

int Quiesce(Board& board, int depth, int alpha, int beta);
int KeepCaptures(Move* list);
void SortTopCaptures(Move* list);
void OrderMoves(const Board& board, Move* list, int n, int depth);
