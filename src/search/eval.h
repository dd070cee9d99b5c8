// Static evaluation.
// Search layer: uses the base, board, moves and search layers.
#pragma once

#include "board/board.h"

int Evaluate(const Board& board, int depth);
// The same score when the attack maps of board are already built (the move
// generator builds them).
int EvaluateWithMaps(const Board& board, int depth);
int EvaluatePawn(const Board& board, int s);
