#include <gtest/gtest.h>

#include "board/board.h"

TEST(FirstSquare, AnswersTheHighestSquareOfTheBoard) {
  EXPECT_EQ(FirstSquare(1ull << 63), 0);                 // h1 alone
  EXPECT_EQ(FirstSquare((1ull << 63) | 1ull), 63);       // a8 and h1
  EXPECT_EQ(FirstSquare(1ull << 56), 7);                 // a1 alone
  EXPECT_EQ(FirstSquare(1ull << 20), 43);                // one bit in the second chunk
}

TEST(MoveWord, FieldsSitAtTheirBitPositions) {
  Move m = MakeMoveWord(12, 28, WPAWN, 0, 0);
  EXPECT_EQ(MoveFrom(m), 12);
  EXPECT_EQ(MoveTo(m), 28);
  EXPECT_EQ(MovePiece(m), WPAWN);
  EXPECT_EQ(MoveCaptured(m), 0);
  Move p = MakeMoveWord(10, 2, BPAWN, WROOK, BKNIGHT);
  EXPECT_EQ(MoveSpecial(p), 18);
  EXPECT_EQ(MoveCaptured(p), WROOK);
  EXPECT_EQ(MovePiece(p), BPAWN);
}
