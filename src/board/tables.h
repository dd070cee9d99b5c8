// Geometry and sliding-attack tables, built once by InitTables.
// Board layer: uses the base and the board layer only.
#pragma once

#include <cstdint>

#include "board/board.h"

// Single-bit masks of a square in the plain and the three rotated layouts.
extern u64 setMask[64];
extern u64 setMaskL90[64];
extern u64 setMaskA1H8[64];
extern u64 setMaskH1A8[64];

// Right shifts that bring a square's line to bits 0..7 of its layout.
extern int rankShift[64];
extern int fileShift[64];
extern const int diagShiftA1H8[64];
extern const int diagShiftH1A8[64];

// Sliding attacks by square and 8-bit line pattern.
extern u64 rankAttacks[64][256];
extern u64 fileAttacks[64][256];
extern u64 diagA1H8Attacks[64][256];
extern u64 diagH1A8Attacks[64][256];

extern u64 knightAttacks[64];
extern u64 kingAttacks[64];

// Step from a toward b along a common line (0 when none), and the squares
// strictly between them.
extern int direction[64][64];
extern u64 between[64][64];
// Rays from a square to the edge: k = 0 step -9, 1 step -7, 2 step +7, 3 step +9.
extern u64 diagonalRays[4][64];

// 15 - index of the lowest set bit of a 16-bit value; entry 0 holds 16.
extern uint8_t firstOne16[65536];

// Evaluation masks.
extern u64 fileMask[8];
extern u64 ranksAbove[8];
extern u64 ranksBelow[8];

// Builds every table and draws the hash keys.
void InitTables();

inline u64 RankAttacksOf(int s, u64 occupied) {
  return rankAttacks[s][(occupied >> rankShift[s]) & 255];
}
inline u64 FileAttacksOf(int s, u64 occupiedL90) {
  return fileAttacks[s][(occupiedL90 >> fileShift[s]) & 255];
}
inline u64 DiagA1H8AttacksOf(int s, u64 occupiedA1H8) {
  return diagA1H8Attacks[s][(occupiedA1H8 >> diagShiftA1H8[s]) & 255];
}
inline u64 DiagH1A8AttacksOf(int s, u64 occupiedH1A8) {
  return diagH1A8Attacks[s][(occupiedH1A8 >> diagShiftH1A8[s]) & 255];
}
inline u64 BishopAttacksOf(const Board& b, int s) {
  return DiagA1H8AttacksOf(s, b.occupiedA1H8) | DiagH1A8AttacksOf(s, b.occupiedH1A8);
}
inline u64 RookAttacksOf(const Board& b, int s) {
  return RankAttacksOf(s, b.wPieces | b.bPieces) | FileAttacksOf(s, b.occupiedL90);
}
