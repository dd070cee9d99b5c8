#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture.h"
#include "moves/movetext.h"
#include "driver/play.h"
#include "search/think.h"
#include "search/search_fixture.h"

namespace {

using ThinkTest = SearchFixture;

std::vector<Move> RootList() {
  std::vector<Move> list;
  for (int i = 0; rootMoves[i]; i++) list.push_back(rootMoves[i]);
  return list;
}

}  // namespace

// After an iteration the best root move goes to the front and the others
// keep their order.
TEST_F(ThinkTest, BestRootMoveLeadsTheNextIteration) {
  SetRoot("4k3/8/8/3q4/8/8/8/3QK3 w - -");
  std::vector<Move> generated = RootList();
  Move capture = FindMove(rootMoves, "d1", "d5");
  ASSERT_NE(capture, 0u);
  ASSERT_NE(generated[0], capture) << "the capture must not come first already";
  fixedDepth = 1;
  CaptureOutput([] { Think(THINK_ANALYSE); });
  std::vector<Move> expected = {capture};
  for (Move m : generated)
    if (m != capture) expected.push_back(m);
  EXPECT_EQ(RootList(), expected);
  EXPECT_EQ(bestRoot, 0);
}

// The depth limit ends the deepening; a single legal move is played after
// one iteration, but analysed to the full depth.
TEST_F(ThinkTest, IterationsByModeAndDepthLimit) {
  struct Case {
    const char* fen;
    int mode;
    int iterations;
  };
  const Case cases[] = {
      {"4k3/8/8/3q4/8/8/8/3QK3 w - -", THINK_ANALYSE, 4},
      {"7k/8/8/8/8/8/1r6/K1r5 w - -", THINK_ANALYSE, 4},  // Ka1 has only b2
      {"7k/8/8/8/8/8/1r6/K1r5 w - -", THINK_PLAY, 1},
  };
  for (const Case& c : cases) {
    SetRoot(c.fen, 40);
    ClearSearchMemory();
    forceMode = 0;
    computerSide = WHITE;
    fixedDepth = 4;
    std::string out = CaptureOutput([&] { Think(c.mode); });
    EXPECT_EQ(rootDepth / 10, c.iterations) << c.fen << " mode " << c.mode;
    bool played = out.find("\nmove ") != std::string::npos;
    EXPECT_EQ(played, c.mode == THINK_PLAY) << out;
    EXPECT_EQ(inSearch, 0);
    EXPECT_EQ(endSearch, 0);
  }
  // The played move stands on the board with its score in the game record.
  EXPECT_EQ(mainBoard.gamePly, 41);
  EXPECT_EQ(MoveTo(gameHistory[40].move), Sq("b2"));
}

// An engine put into force mode during its search plays nothing, though it
// still reports its best move.
TEST_F(ThinkTest, ForceModeAfterTheSearchPlaysNoMove) {
  SetRoot("4k3/8/8/3q4/8/8/8/3QK3 w - -", 40);
  forceMode = 1;  // as "force" leaves it when it arrives during the search
  fixedDepth = 2;
  std::string out = CaptureOutput([] { Think(THINK_PLAY); });
  EXPECT_NE(out.find("Best move 21 is: d1d5 "), std::string::npos) << out;
  EXPECT_EQ(out.find("\nmove "), std::string::npos) << out;
  EXPECT_EQ(mainBoard.gamePly, 40);
}
