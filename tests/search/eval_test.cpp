#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "board/fen.h"
#include "search/eval.h"
#include "search/search.h"

namespace {

Board FromFen(const std::string& fen) {
  Board b{};
  ReadFen(fen.c_str(), b);
  return b;
}

int Sq(const char* name) { return (name[1] - '1') * 8 + ('h' - name[0]); }

// The same position with the board turned round and the colours swapped.
std::string Mirror(const std::string& fen) {
  size_t space = fen.find(' ');
  std::string placement = fen.substr(0, space), rest = fen.substr(space + 1);
  std::string rows[8];
  int r = 0;
  for (char c : placement) {
    if (c == '/') r++;
    else rows[r] += (char)(isupper(c) ? tolower(c) : toupper(c));
  }
  std::string out;
  for (int i = 7; i >= 0; i--) out += rows[i] + (i ? "/" : "");
  out += rest[0] == 'w' ? " b " : " w ";
  std::string castle = rest.substr(2, rest.find(' ', 2) - 2);
  std::string swapped;
  for (char c : castle) swapped += (char)(isupper(c) ? tolower(c) : toupper(c));
  out += swapped + " -";
  return out;
}

}  // namespace

TEST(Evaluate, StartPositionIsLevel) {
  rootDepth = 0;
  EXPECT_EQ(Evaluate(FromFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -"), 0), 0);
}

TEST(Evaluate, PawnTerms) {
  struct Case {
    const char* fen;
    const char* square;
    int expected;
  } cases[] = {
      {"4k3/8/8/8/4P3/8/8/4K3 w - -", "e4", 40},      // table 15 + free file 25
      {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4", 40},    // a pawn on the next file is no matter
      {"4k3/4p3/8/8/4P3/8/8/4K3 w - -", "e4", 15},    // blocked file
      {"4k3/8/8/8/4P3/5P2/8/4K3 w - -", "e4", 55},    // protected from f3
      {"4k3/8/8/8/4P3/3P1P2/8/4K3 w - -", "e4", 55},  // two protectors still 15
      {"4k3/8/8/8/P7/8/8/4K3 w - -", "a4", 40},       // edge file, nothing wraps
      {"4k3/8/8/8/7P/6P1/8/4K3 w - -", "h4", 55},
      {"4k3/8/8/3p4/8/8/8/4K3 w - -", "d5", -40},     // Black: table 15 + free file 25
      {"4k3/8/4p3/3p4/8/8/8/4K3 w - -", "d5", -55},   // protected from e6
      {"4k3/8/8/3p4/8/8/3P4/4K3 w - -", "d5", -15},
  };
  for (const auto& c : cases) EXPECT_EQ(EvaluatePawn(FromFen(c.fen), Sq(c.square)), c.expected) << c.fen;
}

TEST(Evaluate, KingShieldAndGamePhase) {
  rootDepth = 0;
  // 16 pieces; pawns make no square-control terms here, so the totals can
  // be worked out by hand.
  EXPECT_EQ(Evaluate(FromFen("4k3/pppppppp/8/8/8/8/1PPPP1PP/6K1 w - -"), 0), -245);  // g2 only: -25
  EXPECT_EQ(Evaluate(FromFen("4k3/pppppppp/8/8/8/8/PPPPP2P/6K1 w - -"), 0), -270);   // g2, f2 missing
  EXPECT_EQ(Evaluate(FromFen("4k3/pppppppp/8/8/8/8/PPPPP2P/6K1 b - -"), 0), 270);
  // 15 pieces: end-game king table (g1 -60, e8 -40), no shield.
  EXPECT_EQ(Evaluate(FromFen("4k3/ppppppp1/8/8/8/8/PPPPP2P/6K1 w - -"), 0),
            -150);  // material -100, pawns +55 -85, kings 2940 -2960
}

TEST(Evaluate, KingCaptureScore) {
  Board b = FromFen("4k3/8/8/8/8/8/8/4R1K1 w - -");
  rootDepth = 40;
  EXPECT_EQ(Evaluate(b, 0), 32660);
  EXPECT_EQ(Evaluate(b, 20), 32680);
  // With Black to move nobody can take a king: an ordinary score.
  Board black = FromFen("4k3/8/8/8/8/8/8/4R1K1 b - -");
  EXPECT_LT(Evaluate(black, 0), 30000);
  rootDepth = 0;
}

TEST(Evaluate, SideWithoutAKingReadsNothingOutsideTheBoard) {
  rootDepth = 0;
  Board b = FromFen("8/8/8/8/8/8/8/R3K3 w - -");
  EXPECT_LT(Evaluate(b, 0), 30000);
}

TEST(Evaluate, ColourMirroredTwinScoresTheSame) {
  rootDepth = 0;
  const char* fens[] = {
      "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
      "rnbqkb1r/pppp1ppp/5n2/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -",
      "r1b2k1r/p4pbp/nq1p1Q2/2pP4/1p2R2N/6P1/P3PPBP/4K2R w - -",
      "7r/p5p1/5k2/P2pNp1P/1P1P2p1/6K1/5P2/8 w - -",
      "2kr3r/ppp2ppp/8/8/8/8/PPP2PPP/2KR3R b - -",
      "6k1/5ppp/8/8/8/8/5PPP/6K1 w - -",
  };
  for (const char* fen : fens) {
    std::string twin = Mirror(fen);
    EXPECT_EQ(Evaluate(FromFen(fen), 0), Evaluate(FromFen(twin), 0)) << fen << " vs " << twin;
  }
}
