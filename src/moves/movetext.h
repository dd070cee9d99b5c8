// Coordinate move text and the debugging move printers.
// Moves layer: uses the base, board and moves layers.
#pragma once

#include "board/board.h"

extern const char pieceLetters[24];

// Writes at least 6 bytes: four square characters, promotion letter or 0, 0.
void MoveToText(Move move, char* text);
void PrintMove(int mask, const Move& move);
void PrintMoveList(const Move* list);
