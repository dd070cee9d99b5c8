// Positions from and to FEN text, and the board display.
#pragma once

#include "board/board.h"

constexpr int FEN_SIZE = 256;

void ReadFen(const char* text, Board& board);
void WriteFen(const Board& board, char* text);
void DisplayBoard(const Board& board, int fromBitboards);
