// Incremental make and unmake of a move.
// Moves layer: uses the base, board and moves layers.
#pragma once

#include "board/board.h"

// Set when make or unmake meets an inconsistent board; the search unwinds.
extern int searchError;

int MakeMove(Move& move, Board& board);
int UnmakeMove(Move& move, Board& board);
