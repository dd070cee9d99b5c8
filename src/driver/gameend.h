// Game-end adjudication and resignation.
#pragma once

#include "board/board.h"

int CheckGameEnd(Board board);
