// Incremental make and unmake of a move.
// Moves layer: uses the base, board and moves layers.
#pragma once

#include "board/board.h"

// Set when make or unmake meets an inconsistent board; the search unwinds.
extern int searchError;

int MakeMove(Move& move, Board& board);
int UnmakeMove(Move& move, Board& board);

// The key of the position after move, without making it, for loading its
// table entry early: exact for moves of one piece (captures and double
// steps included); castling, en passant and promotions leave out the terms
// of their second piece.
u64 KeyAfterMove(const Board& board, Move move);
