// Consistency checks of a Board against mainBoard and against its own FEN.
#pragma once

#include "board/board.h"

int VerifyBoard(const Board& newB);
int VerifyRotated(const Board& b);
