#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include "board/tables.h"

namespace {

int Sq(const char* name) { return (name[1] - '1') * 8 + ('h' - name[0]); }

u64 Squares(std::initializer_list<const char*> names) {
  u64 b = 0;
  for (const char* n : names) b |= setMask[Sq(n)];
  return b;
}

// Plain ray walker: squares a slider on s reaches along (dr, df) in both
// directions over a plain occupancy.
u64 SlowLine(int s, u64 occupied, int dr, int df) {
  u64 attacks = 0;
  for (int way = -1; way <= 1; way += 2) {
    int r = s / 8 + way * dr, f = s % 8 + way * df;
    while (r >= 0 && r < 8 && f >= 0 && f < 8) {
      int t = r * 8 + f;
      attacks |= setMask[t];
      if (occupied & setMask[t]) break;
      r += way * dr;
      f += way * df;
    }
  }
  return attacks;
}

struct Layouts {
  u64 plain, l90, a1h8, h1a8;
};

Layouts LayoutsOf(u64 occupied) {
  Layouts l{occupied, 0, 0, 0};
  for (int s = 0; s < 64; s++)
    if (occupied & setMask[s]) {
      l.l90 |= setMaskL90[s];
      l.a1h8 |= setMaskA1H8[s];
      l.h1a8 |= setMaskH1A8[s];
    }
  return l;
}

}  // namespace

TEST(Tables, RotatedMasksAndShiftsAtTheCorners) {
  EXPECT_EQ(setMask[0], 1ull << 63);
  EXPECT_EQ(setMask[63], 1ull);
  EXPECT_EQ(setMaskA1H8[Sq("a1")], 1ull << 28);
  EXPECT_EQ(setMaskA1H8[Sq("h8")], 1ull << 35);
  EXPECT_EQ(setMaskH1A8[Sq("h1")], 1ull << 35);
  EXPECT_EQ(setMaskH1A8[Sq("a8")], 1ull << 28);
  EXPECT_EQ(setMaskL90[Sq("a1")], 1ull << 0);
  EXPECT_EQ(setMaskL90[Sq("h8")], 1ull << 63);
  EXPECT_EQ(diagShiftA1H8[Sq("a1")], 28);
  EXPECT_EQ(diagShiftA1H8[Sq("h1")], 63);
  EXPECT_EQ(diagShiftH1A8[Sq("a1")], 63);
  EXPECT_EQ(diagShiftH1A8[Sq("h1")], 28);
  EXPECT_EQ(rankShift[Sq("e1")], 56);
  EXPECT_EQ(fileShift[Sq("e1")], 32);
}

TEST(Tables, EachRotatedLayoutIsAPermutationOfTheSquares) {
  u64 l90 = 0, a1h8 = 0, h1a8 = 0;
  for (int s = 0; s < 64; s++) {
    EXPECT_EQ(__builtin_popcountll(setMaskA1H8[s]), 1);
    l90 |= setMaskL90[s];
    a1h8 |= setMaskA1H8[s];
    h1a8 |= setMaskH1A8[s];
  }
  EXPECT_EQ(l90, ~0ull);
  EXPECT_EQ(a1h8, ~0ull);
  EXPECT_EQ(h1a8, ~0ull);
}

TEST(Tables, SlidingLookupsAgreeWithARayWalker) {
  std::mt19937_64 rng(12345);
  for (int trial = 0; trial < 400; trial++) {
    u64 occupied = rng() & rng();
    if (trial % 4 == 0) occupied |= rng();
    Layouts l = LayoutsOf(occupied);
    for (int s = 0; s < 64; s++) {
      ASSERT_EQ(RankAttacksOf(s, l.plain), SlowLine(s, occupied, 0, 1)) << s;
      ASSERT_EQ(FileAttacksOf(s, l.l90), SlowLine(s, occupied, 1, 0)) << s;
      ASSERT_EQ(DiagA1H8AttacksOf(s, l.a1h8), SlowLine(s, occupied, 1, -1)) << s;
      ASSERT_EQ(DiagH1A8AttacksOf(s, l.h1a8), SlowLine(s, occupied, 1, 1)) << s;
    }
  }
}

TEST(Tables, SlidingExamples) {
  Layouts l = LayoutsOf(Squares({"e1", "b1"}));
  EXPECT_EQ(RankAttacksOf(Sq("e1"), l.plain), Squares({"b1", "c1", "d1", "f1", "g1", "h1"}));
  Layouts rook = LayoutsOf(Squares({"a1"}));
  EXPECT_EQ(__builtin_popcountll(RankAttacksOf(Sq("a1"), rook.plain) | FileAttacksOf(Sq("a1"), rook.l90)), 14);
  Layouts bishop = LayoutsOf(Squares({"h1"}));
  EXPECT_EQ(DiagA1H8AttacksOf(Sq("h1"), bishop.a1h8) | DiagH1A8AttacksOf(Sq("h1"), bishop.h1a8),
            Squares({"g2", "f3", "e4", "d5", "c6", "b7", "a8"}));
}

TEST(Tables, KnightAndKingTables) {
  EXPECT_EQ(knightAttacks[Sq("a1")], Squares({"b3", "c2"}));
  EXPECT_EQ(__builtin_popcountll(knightAttacks[Sq("e4")]), 8);
  EXPECT_EQ(knightAttacks[Sq("h8")], Squares({"g6", "f7"}));
  EXPECT_EQ(kingAttacks[Sq("h1")], Squares({"g1", "g2", "h2"}));
  EXPECT_EQ(__builtin_popcountll(kingAttacks[Sq("d5")]), 8);
}

TEST(Tables, DirectionBetweenAndRays) {
  EXPECT_EQ(direction[Sq("e1")][Sq("e8")], 8);
  EXPECT_EQ(direction[Sq("e8")][Sq("e1")], -8);
  EXPECT_EQ(direction[Sq("e1")][Sq("a5")], 9);
  EXPECT_EQ(direction[Sq("e1")][Sq("h4")], 7);
  EXPECT_EQ(direction[Sq("e1")][Sq("a1")], 1);
  EXPECT_EQ(direction[Sq("e1")][Sq("f3")], 0);
  EXPECT_EQ(direction[Sq("e1")][Sq("e1")], 0);
  // A rank step must never wrap onto the next rank.
  EXPECT_EQ(direction[Sq("a1")][Sq("h2")], 0);
  EXPECT_EQ(between[Sq("e1")][Sq("e8")], Squares({"e2", "e3", "e4", "e5", "e6", "e7"}));
  EXPECT_EQ(between[Sq("e1")][Sq("e2")], 0u);
  EXPECT_EQ(between[Sq("e1")][Sq("f3")], 0u);
  EXPECT_EQ(between[Sq("h1")][Sq("a8")], Squares({"g2", "f3", "e4", "d5", "c6", "b7"}));
  EXPECT_EQ(diagonalRays[0][Sq("a8")], Squares({"b7", "c6", "d5", "e4", "f3", "g2", "h1"}));
  EXPECT_EQ(diagonalRays[3][Sq("h1")], Squares({"g2", "f3", "e4", "d5", "c6", "b7", "a8"}));
  EXPECT_EQ(diagonalRays[1][Sq("h8")], Squares({"g7", "f6", "e5", "d4", "c3", "b2", "a1"}));
  EXPECT_EQ(diagonalRays[2][Sq("a1")], Squares({"b2", "c3", "d4", "e5", "f6", "g7", "h8"}));
  EXPECT_EQ(diagonalRays[3][Sq("a4")], 0u);
}

TEST(Tables, BitScanTableAndFirstSquare) {
  EXPECT_EQ(firstOne16[0x8000], 0);
  EXPECT_EQ(firstOne16[1], 15);
  EXPECT_EQ(firstOne16[0], 16);
  EXPECT_EQ(firstOne16[0x0C00], 5);
  // The bit scan agrees with the chunk walk over firstOne16.
  std::mt19937_64 rng(7);
  for (int i = 0; i < 2000; i++) {
    u64 b = rng() >> (rng() % 64);
    if (!b) continue;
    int expected = -1;
    for (int k = 0; k < 4; k++) {
      unsigned chunk = (unsigned)((b >> (16 * k)) & 0xFFFF);
      if (chunk) {
        expected = 63 - 16 * k - (15 - firstOne16[chunk]);
        break;
      }
    }
    ASSERT_EQ(FirstSquare(b), expected);
  }
}

TEST(Tables, EvaluationMasks) {
  EXPECT_EQ(fileMask[0], Squares({"h1", "h2", "h3", "h4", "h5", "h6", "h7", "h8"}));
  EXPECT_EQ(ranksAbove[7], 0u);
  EXPECT_EQ(ranksBelow[0], 0u);
  EXPECT_EQ(ranksAbove[6], Squares({"a8", "b8", "c8", "d8", "e8", "f8", "g8", "h8"}));
  EXPECT_EQ(ranksBelow[1], Squares({"a1", "b1", "c1", "d1", "e1", "f1", "g1", "h1"}));
  EXPECT_EQ(__builtin_popcountll(ranksAbove[3]), 32);
}
