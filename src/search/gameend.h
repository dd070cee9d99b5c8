// Game-end adjudication and resignation.
// Search layer: uses the base, board, moves and search layers.
#pragma once

#include "board/board.h"

int CheckGameEnd(Board board);
