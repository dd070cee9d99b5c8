// Reading move text: coordinate moves played on mainBoard, algebraic moves
// translated for a given board.
// Moves layer: uses the base, board and moves layers.
#pragma once

#include "board/board.h"

int ParseUserMove(const char* text);
// result receives coordinate text, "NONE" or "MULT" (at least 6 bytes).
void ParseSanMove(const char* text, const Board& board, char* result);
