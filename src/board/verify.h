// Consistency checks of a Board against mainBoard and against its own FEN.
// Board layer: uses the base and the board layer only.
#pragma once

#include "board/board.h"

int VerifyBoard(const Board& newB);
int VerifyRotated(const Board& b);
