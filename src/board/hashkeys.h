// The engine's pseudo-random generator and the Zobrist keys of positions.
// Board layer: uses the base and the board layer only.
#pragma once

#include <cstdint>

#include "board/board.h"

// Piece keys indexed by piece code (only the twelve piece codes are filled).
extern u64 pieceKeys[24][64];
extern u64 sideKey;
extern u64 castleKeys[16];
extern u64 epKeys[8];

uint32_t Random32();
void MakeHashKeys();
u64 ComputeHashKey(Board board);
// Draws (clock seconds mod 200) numbers and reports the count.
void AdvanceRandom();
