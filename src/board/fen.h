// Positions from and to FEN text, and the board display. Uses the board
// layer and the base.
#pragma once

#include "board/board.h"

constexpr int FEN_SIZE = 256;

// Reads the position fields (placement, side to move, castling, en passant)
// of a FEN or EPD text into board and returns the text after them: the EPD
// operations, or the half-move and move numbers of a FEN. A text with an
// error in those fields is refused: the error is printed, board keeps the
// position it held, and the result is nullptr.
const char* ReadFen(const char* text, Board& board);
void WriteFen(const Board& board, char* text);
// The FEN line and the board, from the bitboards or the mailbox; every line
// begins with linePrefix ("# " makes the display a comment for an interface).
void DisplayBoard(const Board& board, int fromBitboards, const char* linePrefix = "");
