// The game position.
#include "board/board.h"

Board mainBoard;
