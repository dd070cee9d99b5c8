// Positions from and to FEN text, and the board display.
#pragma once

#include "board/board.h"

constexpr int FEN_SIZE = 256;

// Reads a FEN position (and the EPD operations after it) into board.
// Returns 1 when the text is a position; on an error it prints the error
// and returns 0, leaving board as it was.
int ReadFen(const char* text, Board& board);
void WriteFen(const Board& board, char* text);
void DisplayBoard(const Board& board, int fromBitboards);
