#include <gtest/gtest.h>

#include <string>

#include "capture.h"
#include "moves/movetext.h"
#include "search/search.h"
#include "search/think.h"
#include "search_fixture.h"

namespace {

// White is a queen up; Black's queen hangs on d5.
const char* const QUEEN_UP = "4k3/8/8/8/8/8/8/Q3K3 w - -";
const char* const QUEEN_HANGS = "4k3/8/8/3q4/8/8/8/3QK3 w - -";
const char* const QUEEN_DOWN = "4k3/8/8/8/8/8/8/q3K3 w - -";

using SearchTest = SearchFixture;

}  // namespace

// An earlier position of the game makes a node below the root a draw; the
// current position's own record and the root never count.
TEST_F(SearchTest, RepetitionBelowTheRootOnly) {
  struct Case {
    int record;  // gameHistory index holding the position's key
    bool root;
    bool draw;
  };
  const Case cases[] = {
      {0, false, true}, {8, false, true}, {9, false, false}, {0, true, false}, {8, true, false},
  };
  for (const Case& c : cases) {
    Board board = SetRoot(QUEEN_UP, 10);
    memset(gameHistory, 0, sizeof(gameHistory));
    ClearHashTable();
    gameHistory[c.record].hashkey = board.hashkey;
    rootDepth = c.root ? 20 : 40;
    Line line{};
    line.count = 5;
    int v = Search(board, 20, -32700, 32700, 0, line);
    if (c.draw) {
      EXPECT_EQ(v, 0) << c.record;
      EXPECT_EQ(line.count, 0) << c.record;
    } else {
      EXPECT_GT(v, 500) << c.record << (c.root ? " root" : "");
      EXPECT_GT(line.count, 0);
    }
  }
}

// Mates are scored by their distance from the root in tenths of a ply, so
// the extensions on the way show in the score; a mate ends the deepening.
TEST_F(SearchTest, MateScoresCountTheDistanceWithExtensions) {
  struct Case {
    const char* fen;
    std::string bestMoves;  // the mating moves, as text
    int score;
    int iterations;
  };
  const Case cases[] = {
      // Ra8 mates at once: one full ply.
      {"6k1/5ppp/8/8/8/8/8/R5K1 w - -", "a1a8", 32000 - 10, 1},
      // Rb7 (or Ra7), the only reply Kg8 (a forced reply costs 2 tenths),
      // then the other rook mates; the quiescence search of iteration 2
      // already sees the mate.
      {"7k/8/8/8/8/8/8/RR4K1 w - -", "a1a7 b1b7", 32000 - 22, 2},
  };
  for (const Case& c : cases) {
    SetRoot(c.fen, 40);
    ClearSearchMemory();
    fixedDepth = 6;
    CaptureOutput([] { Think(THINK_ANALYSE); });
    EXPECT_EQ(lastRootScore, c.score) << c.fen;
    EXPECT_EQ(rootDepth / 10, c.iterations) << c.fen;
    char best[8];
    MoveToText(rootMoves[bestRoot], best);
    EXPECT_NE(c.bestMoves.find(best), std::string::npos) << c.fen << ": " << best;
  }
}

// Stop levels 1 and 2 end the root's move loop only from the second
// iteration on; level 3 ends it at once and keeps the best move unchanged.
TEST_F(SearchTest, SoftStopsEndTheRootLoopFromTheSecondIteration) {
  struct Case {
    int iteration;
    int stopLevel;
    int bestRoot;
  };
  const Case cases[] = {{1, 0, 1}, {1, 1, 1}, {1, 2, 1}, {2, 0, 1}, {2, 1, 0}, {2, 2, 0}, {1, 3, 0}, {2, 3, 0}};
  for (const Case& c : cases) {
    Board board = SetRoot(QUEEN_HANGS);
    ClearSearchMemory();
    // A quiet king move first, the queen capture second.
    Move list[MOVE_LIST_SIZE];
    GenerateMoves(board, list);
    rootMoves[0] = FindMove(list, "e1", "f1");
    rootMoves[1] = FindMove(list, "d1", "d5");
    rootMoves[2] = 0;
    ASSERT_NE(rootMoves[0], 0u);
    ASSERT_NE(rootMoves[1], 0u);
    inSearch = c.iteration;
    endSearch = c.stopLevel;
    bestRoot = 0;
    rootDepth = 10 * c.iteration;
    Line line{};
    nodes = 1;
    Search(board, rootDepth, -65200, 65200, 0, line);
    EXPECT_EQ(bestRoot, c.bestRoot) << "iteration " << c.iteration << " level " << c.stopLevel;
  }
}

// The second iteration searches a window of 75 around the first score; a
// fail is re-searched once on the failing side, 20 wider than the window.
TEST_F(SearchTest, AspirationWindowAndResearches) {
  struct Case {
    const char* fen;
    int iteration;
    int ponder;
    std::string report;  // the re-search lines printed
  };
  const Case cases[] = {
      {QUEEN_UP, 2, 0, "fail-high, beta=115.  Researching depth 2...\n"},
      {QUEEN_DOWN, 2, 0, "fail-low, alpha=-35.  Researching depth 2...\n"},
      {QUEEN_UP, 1, 0, ""},    // the first iteration has the full window
      {QUEEN_DOWN, 2, 1, ""},  // pondering never re-searches
  };
  for (const Case& c : cases) {
    Board board = SetRoot(c.fen);
    ClearSearchMemory();
    lastRootScore = 40;
    inSearch = c.iteration;
    inPonder = c.ponder;
    int v = 0;
    std::string out = CaptureOutput([&] { v = RootSearch(c.iteration, board); });
    std::string report;
    for (size_t start = 0; start < out.size();) {
      size_t end = out.find('\n', start);
      std::string line = out.substr(start, end - start + 1);
      if (line.compare(0, 5, "fail-") == 0) report += line;
      start = end == std::string::npos ? out.size() : end + 1;
    }
    EXPECT_EQ(report, c.report) << c.fen << " iteration " << c.iteration;
    if (!c.ponder) {
      // The re-search finds the true score far outside the first window.
      EXPECT_GT(abs(v), 500) << c.fen;
      EXPECT_EQ(v, lastRootScore);
    }
  }
}
