// Geometry and sliding-attack tables over the plain and rotated layouts.
#include "board/tables.h"

#include <cstdlib>

#include "board/hashkeys.h"

u64 setMask[64];
u64 setMaskL90[64];
u64 setMaskA1H8[64];
u64 setMaskH1A8[64];

int rankShift[64];
int fileShift[64];

// Start bit of each square's diagonal in the two diagonal layouts, laid out
// by square (row 0 is h1..a1). The diagonals of one direction are stored one
// after another from bit 63 down: diagonal k (0..14) starts at bit
// 63, 61, 58, 54, 49, 43, 36, 28, 21, 15, 10, 6, 3, 1, 0.
const int diagShiftA1H8[64] = {
    63, 61, 58, 54, 49, 43, 36, 28,
    61, 58, 54, 49, 43, 36, 28, 21,
    58, 54, 49, 43, 36, 28, 21, 15,
    54, 49, 43, 36, 28, 21, 15, 10,
    49, 43, 36, 28, 21, 15, 10,  6,
    43, 36, 28, 21, 15, 10,  6,  3,
    36, 28, 21, 15, 10,  6,  3,  1,
    28, 21, 15, 10,  6,  3,  1,  0,
};
const int diagShiftH1A8[64] = {
    28, 36, 43, 49, 54, 58, 61, 63,
    21, 28, 36, 43, 49, 54, 58, 61,
    15, 21, 28, 36, 43, 49, 54, 58,
    10, 15, 21, 28, 36, 43, 49, 54,
     6, 10, 15, 21, 28, 36, 43, 49,
     3,  6, 10, 15, 21, 28, 36, 43,
     1,  3,  6, 10, 15, 21, 28, 36,
     0,  1,  3,  6, 10, 15, 21, 28,
};

u64 rankAttacks[64][256];
u64 fileAttacks[64][256];
u64 diagA1H8Attacks[64][256];
u64 diagH1A8Attacks[64][256];

u64 knightAttacks[64];
u64 kingAttacks[64];

int direction[64][64];
u64 between[64][64];
u64 diagonalRays[4][64];

uint8_t firstOne16[65536];

u64 fileMask[8];
u64 ranksAbove[8];
u64 ranksBelow[8];

static int RankOf(int s) { return s >> 3; }
static int FileOf(int s) { return s & 7; }
static bool OnBoard(int rank, int file) { return rank >= 0 && rank < 8 && file >= 0 && file < 8; }
static int SquareAt(int rank, int file) { return rank * 8 + file; }
static int Sign(int x) { return (x > 0) - (x < 0); }

// Sliding attacks of square s along one line for the 8-bit pattern p of a
// layout: walk both ways (steps dr/df in rank and fileIndex), stop after the
// first square whose bit of the pattern window is set.
static u64 LineAttacks(int s, int pattern, int dr, int df, const u64* layoutMask, int shift) {
  u64 attacks = 0;
  for (int way = -1; way <= 1; way += 2) {
    int r = RankOf(s) + way * dr;
    int f = FileOf(s) + way * df;
    while (OnBoard(r, f)) {
      int t = SquareAt(r, f);
      attacks |= setMask[t];
      int spot = __builtin_ctzll(layoutMask[t]) - shift;
      if (spot >= 0 && spot < 8 && (pattern >> spot) & 1) break;
      r += way * dr;
      f += way * df;
    }
  }
  return attacks;
}

static void InitMasksAndShifts() {
  u64 bit = 1ull << 63;
  for (int s = 0; s < 64; s++, bit >>= 1) {
    setMask[s] = bit;
    rankShift[s] = (7 - RankOf(s)) * 8;
    fileShift[s] = (7 - FileOf(s)) * 8;
  }
}

static void InitPieceTables() {
  static const int knightSteps[8][2] = {{2, 1}, {2, -1}, {-2, 1}, {-2, -1},
                                        {1, 2}, {1, -2}, {-1, 2}, {-1, -2}};
  for (int s = 0; s < 64; s++) {
    knightAttacks[s] = 0;
    kingAttacks[s] = 0;
    for (const auto& step : knightSteps) {
      int r = RankOf(s) + step[0], f = FileOf(s) + step[1];
      if (OnBoard(r, f)) knightAttacks[s] |= setMask[SquareAt(r, f)];
    }
    for (int dr = -1; dr <= 1; dr++)
      for (int df = -1; df <= 1; df++) {
        int r = RankOf(s) + dr, f = FileOf(s) + df;
        if ((dr || df) && OnBoard(r, f)) kingAttacks[s] |= setMask[SquareAt(r, f)];
      }
    // Rays in square steps -9, -7, +7, +9: one rank down or up, and one file
    // toward h (fileIndex - 1) or toward a (fileIndex + 1).
    static const int raySteps[4][2] = {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}};
    for (int k = 0; k < 4; k++) {
      diagonalRays[k][s] = 0;
      int r = RankOf(s) + raySteps[k][0], f = FileOf(s) + raySteps[k][1];
      while (OnBoard(r, f)) {
        diagonalRays[k][s] |= setMask[SquareAt(r, f)];
        r += raySteps[k][0];
        f += raySteps[k][1];
      }
    }
  }
}

static void InitSlidingTables() {
  for (int s = 0; s < 64; s++)
    for (int p = 0; p < 256; p++) rankAttacks[s][p] = LineAttacks(s, p, 0, 1, setMask, rankShift[s]);

  for (int s = 0; s < 64; s++) setMaskL90[s] = 1ull << ((7 - FileOf(s)) * 8 + RankOf(s));
  for (int s = 0; s < 64; s++)
    for (int p = 0; p < 256; p++)
      fileAttacks[s][p] = LineAttacks(s, p, 1, 0, setMaskL90, fileShift[s]);

  // a1-h8 diagonals: d = rank + fileIndex; bits rise with the rank.
  for (int s = 0; s < 64; s++) {
    int d = RankOf(s) + FileOf(s);
    setMaskA1H8[s] = 1ull << (diagShiftA1H8[s] + RankOf(s) - (d > 7 ? d - 7 : 0));
  }
  for (int s = 0; s < 64; s++)
    for (int p = 0; p < 256; p++)
      diagA1H8Attacks[s][p] = LineAttacks(s, p, 1, -1, setMaskA1H8, diagShiftA1H8[s]);

  // h1-a8 diagonals: e = rank + 7 - fileIndex; bits fall as the rank rises.
  for (int s = 0; s < 64; s++) {
    int e = RankOf(s) + 7 - FileOf(s);
    setMaskH1A8[s] = 1ull << (diagShiftH1A8[s] + (e < 7 ? e : 7) - RankOf(s));
  }
  for (int s = 0; s < 64; s++)
    for (int p = 0; p < 256; p++)
      diagH1A8Attacks[s][p] = LineAttacks(s, p, 1, 1, setMaskH1A8, diagShiftH1A8[s]);
}

static void InitLineGeometry() {
  for (int a = 0; a < 64; a++)
    for (int b = 0; b < 64; b++) {
      int dr = RankOf(b) - RankOf(a), df = FileOf(b) - FileOf(a);
      bool onLine = (a != b) && (dr == 0 || df == 0 || std::abs(dr) == std::abs(df));
      direction[a][b] = onLine ? 8 * Sign(dr) + Sign(df) : 0;
    }
  for (int a = 0; a < 64; a++)
    for (int b = 0; b < 64; b++) {
      between[a][b] = 0;
      int d = direction[a][b];
      if (d == 0) continue;
      for (int t = a + d; t != b; t += d) between[a][b] |= setMask[t];
    }
}

static void InitScanAndEvalMasks() {
  firstOne16[0] = 16;
  for (int x = 1; x < 65536; x++) firstOne16[x] = (uint8_t)(15 - __builtin_ctz(x));
  for (int i = 0; i < 8; i++) {
    fileMask[i] = ranksAbove[i] = ranksBelow[i] = 0;
  }
  for (int s = 0; s < 64; s++) {
    fileMask[FileOf(s)] |= setMask[s];
    for (int r = 0; r < 8; r++) {
      if (RankOf(s) > r) ranksAbove[r] |= setMask[s];
      if (RankOf(s) < r) ranksBelow[r] |= setMask[s];
    }
  }
}

void InitTables() {
  InitMasksAndShifts();
  MakeHashKeys();
  InitPieceTables();
  InitSlidingTables();
  InitLineGeometry();
  InitScanAndEvalMasks();
}
