#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/movegen.h"
#include "board/verify.h"
#include "capture.h"
#include "move_helpers.h"
#include "base/output.h"
#include "base/words.h"
#include "base/state.h"
#include "search/engine.h"
#include "moves/makemove.h"
#include "moves/movetext.h"
#include "moves/perft.h"

namespace {

// Known leaf counts at depths that keep the suite quick; the full figures
// run in the "test" command's process test.
TEST(Perft, ReferenceCountsAtShallowDepth) {
  struct Case {
    const char* fen;
    int depth;
    uint64_t leaves;
  };
  const Case cases[] = {
      {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 4, 197281},
      {"r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", 3, 97862},
      {"8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -", 5, 674624},
      {"r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -", 3, 9467},
      {"rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -", 3, 62379},
      {"r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - -", 3, 89890},
  };
  for (const Case& c : cases) {
    ReadFen(c.fen, mainBoard);
    const Board before = mainBoard;
    uint64_t total = 0;
    const std::string out = CaptureOutput([&] { total = perft(c.depth); });
    EXPECT_EQ(total, c.leaves) << c.fen;
    EXPECT_EQ(out.rfind("perft " + std::to_string(c.depth) + ": " + std::to_string(c.leaves) + " nodes   ", 0), 0u)
        << out;
    EXPECT_EQ(memcmp(&before, &mainBoard, sizeof(Board)), 0) << c.fen;
  }
}

// divide's lines sum to the perft total, one line per legal root move.
TEST(Perft, DivideLinesSumToTheTotal) {
  ReadFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -", mainBoard);
  const std::string out = CaptureOutput([] { divide(2); });
  uint64_t sum = 0;
  int lines = 0;
  size_t at = 0;
  while ((at = out.find("move ", at)) != std::string::npos) {
    const size_t colon = out.find(": ", at);
    sum += std::stoull(out.substr(colon + 2));
    lines++;
    at = colon;
  }
  EXPECT_EQ(lines, 48);
  EXPECT_EQ(sum, 2039u);
  EXPECT_NE(out.find("(K)e1g1( ): "), std::string::npos) << out;
  EXPECT_NE(out.find("\nperft 2: 2039 nodes   "), std::string::npos) << out;
}

// A set-up position in which the side to move can take the king: the count
// is abandoned and mainBoard is left exactly as it was.
TEST(Perft, KingCaptureInTheSetUpUnwindsCleanly) {
  ReadFen("4R1k1/8/8/8/8/8/8/4K3 w - -", mainBoard);  // White to move, Black already in check
  const Board before = mainBoard;
  const std::string out = CaptureOutput([] { perft(3); });
  EXPECT_NE(out.find("King will be captured!"), std::string::npos) << out;
  EXPECT_EQ(memcmp(&before, &mainBoard, sizeof(Board)), 0);
  CaptureOutput([] { divide(2); });
  EXPECT_EQ(memcmp(&before, &mainBoard, sizeof(Board)), 0);
}

TEST(MoveText, CoordinateForms) {
  struct Case {
    const char* fen;
    const char* move;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/7P/4K3 w - -", "h2h4"},
      {"r3k3/8/8/8/8/8/8/4K3 b - -", "a8a1"},
      {"4k3/8/8/8/8/8/8/4K2R w K -", "e1g1"},
      {"r3k3/8/8/8/8/8/8/4K3 b q -", "e8c8"},
      {"4k3/1P6/8/8/8/8/8/4K3 w - -", "b7b8n"},
      {"4k3/8/8/8/8/8/2p5/4K3 b - -", "c2c1q"},
  };
  for (const Case& c : cases) {
    Board b{};
    ReadFen(c.fen, b);
    EXPECT_EQ(Text(Find(b, c.move)), c.move);
  }
}

TEST(MoveText, PrintedForms) {
  Board b{};
  ReadFen("4k3/8/8/8/8/8/8/R3K3 w Q -", b);
  const Move castle = Find(b, "e1c1");
  EXPECT_EQ(CaptureOutput([&] { PrintMove(OUT_CONSOLE, castle); }), "(K)e1c1( )spec=512");
  ReadFen("4k3/5p2/8/6N1/8/8/8/4K3 w - -", b);
  const Move take = Find(b, "g5f7");
  EXPECT_EQ(CaptureOutput([&] { PrintMove(OUT_CONSOLE, take); }), "(N)g5f7(p)spec=0");
  const Move empty[1] = {0};
  EXPECT_EQ(CaptureOutput([&] { PrintMoveList(empty); }), "");
  const Move one[2] = {take, 0};
  EXPECT_EQ(CaptureOutput([&] { PrintMoveList(one); }), "#Move 0: (N)g5f7(p), special=0\n");
}

TEST(VerifyBoard, NamesEveryFieldThatDiffers) {
  ReadFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", mainBoard);
  Board same = mainBoard;
  EXPECT_EQ(CaptureOutput([&] { EXPECT_EQ(VerifyBoard(same), 1); }), "");

  Board moved = mainBoard;
  Move m = Find(moved, "e2e4");
  MakeMove(m, moved);
  const std::string out = CaptureOutput([&] { EXPECT_EQ(VerifyBoard(moved), 0); });
  for (const char* line : {"Error: probs with wPawn\n", "Error: probs with wPieces\n", "Error: probs with onMove\n",
                           "Error: probs with mailbox[11]\n", "Error: probs with mailbox[27]\n",
                           "Error: probs with hashkey\n"})
    EXPECT_NE(out.find(line), std::string::npos) << line << out;
  EXPECT_EQ(out.find("probs with bPawn"), std::string::npos) << out;
}

}  // namespace
