// Quiescence search and move ordering.
// Search layer: uses the base, board, moves and search layers.
#pragma once

#include "board/board.h"

int Quiesce(Board& board, int depth, int alpha, int beta);
int KeepCaptures(Move* list);
void SortTopCaptures(Move* list);
// Ordering keys of the n moves of list: hash move, killer, castling and
// promotions, captures, then the history counters.
void ScoreMoves(Move* list, int n, int* keys);
// Brings the i-th move of the ordering to list[i]: pass i of an exchange
// sort, whose order among equal keys is part of the search's behaviour.
// Passes 0 .. i-1 must have run; the search runs each pass only when it
// reaches that move.
void SelectMove(Move* list, int* keys, int n, int i);
// The whole ordering at once, after probing the table for the stored move.
void OrderMoves(const Board& board, Move* list, int n, int depth);
