#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/fen.h"
#include "capture.h"
#include "base/state.h"
#include "search/engine.h"
#include "moves/parsemove.h"

namespace {

void SetPosition(const char* fen) {
  ReadFen(fen, mainBoard);
  mainBoard.gamePly = 4;
  lastIrreversiblePly = 0;
  bookLine[0] = 0;
}

std::string San(const char* fen, const char* text) {
  Board b{};
  ReadFen(fen, b);
  char result[8];
  std::string out = CaptureOutput([&] { ParseSanMove(text, b, result); });
  return out + result;
}

const char* kStart = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

}  // namespace

TEST(ParseUserMove, FoundAndRefused) {
  struct Case {
    const char* fen;
    const char* text;
    int found;
  } cases[] = {
      {kStart, "e2e4", 1},
      {kStart, "e2e5", 0},
      {kStart, "e2", 0},
      {kStart, "z2e4", 0},
      {kStart, "e9e4", 0},
      {"4k3/4P3/8/8/8/8/8/K7 w - -", "e7e8q", 0},  // e8 is taken by the king
      {"3k4/4P3/8/8/8/8/8/K7 w - -", "e7e8q", 1},
      {"3k4/4P3/8/8/8/8/8/K7 w - -", "e7e8n", 1},
      {"3k4/4P3/8/8/8/8/8/K7 w - -", "e7e8", 0},
      {"3k4/4P3/8/8/8/8/8/K7 w - -", "e7e8Q", 0},
      {"4k3/8/8/8/8/8/8/4K2R w K -", "e1g1", 1},
      {"4k3/8/8/8/8/8/8/4K2R w - -", "e1g1", 0},
      {"r3k3/8/8/8/8/8/8/4K3 b q -", "e8c8", 1},
      {"4k3/8/8/8/8/8/3p4/4K3 b - -", "d2d1r", 1},
  };
  for (const auto& c : cases) {
    SetPosition(c.fen);
    u64 before = mainBoard.hashkey;
    EXPECT_EQ(ParseUserMove(c.text), c.found) << c.fen << " " << c.text;
    if (c.found) {
      EXPECT_NE(mainBoard.hashkey, before);
      EXPECT_EQ(mainBoard.gamePly, 5);
    } else {
      EXPECT_EQ(mainBoard.hashkey, before);
      EXPECT_STREQ(bookLine, "");
    }
  }
}

TEST(ParseUserMove, PromotionPieceAndBookLine) {
  SetPosition("3k4/4P3/8/8/8/8/8/K7 w - -");
  ASSERT_EQ(ParseUserMove("e7e8q"), 1);
  EXPECT_EQ(mainBoard.mailbox[59], WQUEEN);
  EXPECT_STREQ(bookLine, "e7e8q");
}

TEST(ParseUserMove, IrreversiblePly) {
  SetPosition(kStart);
  ASSERT_EQ(ParseUserMove("g1f3"), 1);
  EXPECT_EQ(lastIrreversiblePly, 0);
  ASSERT_EQ(ParseUserMove("e7e5"), 1);
  EXPECT_EQ(lastIrreversiblePly, mainBoard.gamePly);
  ASSERT_EQ(ParseUserMove("f3e5"), 1);  // capture
  EXPECT_EQ(lastIrreversiblePly, mainBoard.gamePly);
  EXPECT_STREQ(bookLine, "g1f3e7e5f3e5");
}

TEST(ParseUserMove, FullBookLineDropsTheTextButPlays) {
  SetPosition(kStart);
  memset(bookLine, 'x', 4086);
  bookLine[4086] = 0;
  ASSERT_EQ(ParseUserMove("e2e4"), 1);
  EXPECT_EQ(strlen(bookLine), 4086u);
  EXPECT_EQ(mainBoard.onMove, BLACK);
  bookLine[0] = 0;
}

TEST(ParseSanMove, Translations) {
  struct Case {
    const char* fen;
    const char* text;
    const char* expected;
  } cases[] = {
      {kStart, "Nf3", "g1f3"},
      {kStart, "e4", "e2e4"},
      {kStart, "Nd2", "NONE"},  // the d2 pawn stands there
      {"4k3/8/8/8/8/8/8/1N2KN2 w - -", "Nd2", "MULT"},
      {"4k3/8/8/8/8/8/8/1N2KN2 w - -", "Nbd2", "b1d2"},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "exd5", "e4d5"},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "cxd5", "c4d5"},
      {"4k3/8/8/3p4/2P1P3/8/8/4K3 w - -", "xd5", "MULT"},
      {"rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq -", "Qh4+", "d8h4"},
      {"rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq -", "Qh4#", "d8h4"},
      {"4k3/8/8/8/8/8/8/4K3 b - -", "O-O-O", "e8c8"},  // written without looking at the moves
      {"4k3/8/8/8/8/8/8/4K3 w - -", "O-O", "e1g1"},
      {"3k4/4P3/8/8/8/8/8/K7 w - -", "e8=Q", "e7e8q"},
      {"3k4/4P3/8/8/8/8/8/K7 w - -", "e8=N+", "e7e8n"},
      {"3k4/4P3/8/8/8/8/8/K7 w - -", "e8", "MULT"},
      {"4k3/8/8/R7/8/8/8/R3K3 w - -", "Ra3", "MULT"},
      {"4k3/8/8/R7/8/8/8/R3K3 w - -", "R1a3", "a1a3"},
      {"4k3/8/8/R7/8/8/8/R3K3 w - -", "R5xa3", "a5a3"},
      {"4k3/8/8/8/8/8/8/4K3 w - -", "Kd1", "e1d1"},
      {kStart, "Nz9", "Error parsing Sqto: z9\nNONE"},
      {kStart, "", "Error parsing Sqto: ??\nNONE"},
      {kStart, "Q", "Error parsing Sqto: ?Q\nNONE"},
  };
  for (const auto& c : cases) EXPECT_EQ(San(c.fen, c.text), c.expected) << c.fen << " " << c.text;
}
