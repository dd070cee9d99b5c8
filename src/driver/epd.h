// EPD operations and the test-suite runner. A front-end module: uses every
// layer below the front ends.
#pragma once

#include "board/board.h"

constexpr int EPD_ID_SIZE = 64;
constexpr int EPD_BM_SIZE = 8;

extern char epdId[EPD_ID_SIZE];
extern char epdBm[EPD_BM_SIZE];
extern char epdBm2[EPD_BM_SIZE];

void ParseEpdOp(const char* op);
// Cuts the operations after a position at each ';' and parses each one.
void ReadEpdOperations(const char* text);
// Reads an EPD (or FEN) line into board and parses its operations; returns
// the text after the position fields.
const char* ReadEpdPosition(const char* text, Board& board);
int RunEpd(const char* fileName, double seconds);
