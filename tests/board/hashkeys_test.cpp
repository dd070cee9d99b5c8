#include <gtest/gtest.h>

#include "board/fen.h"
#include "board/hashkeys.h"
#include "board/tables.h"

namespace {
Board FromFen(const char* fen) {
  Board b{};
  ReadFen(fen, b);
  return b;
}
}  // namespace

// The first draws of the generator, worked out by hand from the seed words:
// x[54] + x[23] and x[53] + x[22]; they form the white pawn's key on h1.
TEST(HashKeys, FirstKeyComesFromTheFirstTwoDraws) {
  EXPECT_EQ(pieceKeys[WPAWN][0], 0x4890D6A4039B11BFull);
}

// Fixed by the seed words and the draw order (computed independently).
TEST(HashKeys, StartPositionKeyIsFixed) {
  Board b = FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  EXPECT_EQ(b.hashkey, 0xF6A7009EC79E61DFull);
  EXPECT_EQ(castleKeys[8], 0xE1C1E4BC9690E409ull);
  u64 expected = sideKey ^ castleKeys[15];
  for (int s = 0; s < 64; s++)
    if (b.mailbox[s]) expected ^= pieceKeys[b.mailbox[s]][s];
  EXPECT_EQ(b.hashkey, expected);
}

TEST(HashKeys, SideCastlingAndEnPassantTerms) {
  Board w = FromFen("4k3/8/8/8/8/8/8/4K3 w - -");
  Board b = FromFen("4k3/8/8/8/8/8/8/4K3 b - -");
  EXPECT_EQ(w.hashkey ^ b.hashkey, sideKey);
  // Rights 0 still carry castleKeys[0].
  EXPECT_EQ(b.hashkey, pieceKeys[WKING][3] ^ pieceKeys[BKING][59] ^ castleKeys[0]);
  // The en passant key goes in whenever the flag is set, capture or not.
  Board ep = FromFen("4k3/8/8/8/4P3/8/8/4K3 b - e3");
  Board noEp = FromFen("4k3/8/8/8/4P3/8/8/4K3 b - -");
  EXPECT_EQ(ep.hashkey ^ noEp.hashkey, epKeys[3]);
  EXPECT_EQ(ep.hashkey, ComputeHashKey(ep));
}

TEST(HashKeys, FenRoundTripKeepsTheKey) {
  const char* fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e6",
      "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 b - -",
  };
  for (const char* fen : fens) {
    Board a = FromFen(fen);
    char text[FEN_SIZE];
    WriteFen(a, text);
    EXPECT_STREQ(text, fen);
    Board b = FromFen(text);
    EXPECT_EQ(a.hashkey, b.hashkey) << fen;
  }
}

TEST(HashKeys, GeneratorMatchesTheLaggedSum) {
  // Each draw is the sum of the words drawn 24 and 55 draws before it.
  uint32_t drawn[200];
  for (auto& d : drawn) d = Random32();
  for (int i = 55; i < 200; i++) EXPECT_EQ(drawn[i], (uint32_t)(drawn[i - 24] + drawn[i - 55]));
}
