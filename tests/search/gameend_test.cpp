#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/fen.h"
#include "capture.h"
#include "base/state.h"
#include "search/engine.h"
#include "search/gameend.h"
#include "moves/parsemove.h"

namespace {

void SetPosition(const char* fen, int gamePly = 0) {
  memset(gameHistory, 0, sizeof(gameHistory));
  ReadFen(fen, mainBoard);
  mainBoard.gamePly = gamePly;
  lastIrreversiblePly = 0;
  bookLine[0] = 0;
}

std::string Adjudicate() {
  int result = -1;
  std::string out = CaptureOutput([&] { result = CheckGameEnd(mainBoard); });
  return (result ? "1:" : "0:") + out;
}

void Play(std::initializer_list<const char*> moves) {
  for (const char* m : moves) ASSERT_EQ(ParseUserMove(m), 1) << m;
}

}  // namespace

TEST(GameEnd, MateStalemateAndMaterial) {
  struct Case {
    const char* fen;
    const char* expected;
  } cases[] = {
      {"rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -", "1:0-1 {black wins}\n"},
      {"R5k1/5ppp/8/8/8/8/8/6K1 b - -", "1:1-0 {white wins}\n"},
      {"7k/5Q2/8/8/8/8/8/6K1 b - -", "1:1/2-1/2 {stalemate}\n"},
      {"4k3/8/8/8/8/8/8/4K3 w - -", "1:1/2-1/2 {drawn - insufficient material}\n"},
      {"4k3/8/8/8/8/8/8/4KN2 w - -", "1:1/2-1/2 {drawn - insufficient material}\n"},
      {"4k3/8/8/8/8/8/8/4Kb2 w - -", "1:1/2-1/2 {drawn - insufficient material}\n"},
      {"4k3/8/8/8/8/8/8/4KR2 w - -", "0:"},
      {"4k3/8/8/8/8/8/4P3/4K3 w - -", "0:"},
      {"4k3/8/8/8/8/8/8/3NKN2 w - -", "0:"},
  };
  for (const auto& c : cases) {
    SetPosition(c.fen);
    EXPECT_EQ(Adjudicate(), c.expected) << c.fen;
  }
}

TEST(GameEnd, RepetitionNeedsTheFourthOccurrence) {
  SetPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -");
  // Each cycle of four knight moves returns to the position after g1f3.
  Play({"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8", "g1f3"});
  EXPECT_EQ(Adjudicate(), "0:");  // third occurrence of the position after g1f3
  Play({"g8f6", "f3g1", "f6g8", "g1f3"});
  EXPECT_EQ(Adjudicate(), "1:1/2-1/2 {drawn by repetition}\n");
}

TEST(GameEnd, FiftyMoveRuleAt105HalfMoves) {
  SetPosition("4k3/8/8/8/8/8/8/R3K3 w - -", 104);
  EXPECT_EQ(Adjudicate(), "0:");
  mainBoard.gamePly = 105;
  EXPECT_EQ(Adjudicate(), "1:1/2-1/2 {drawn by 50 move rule}\n");
  lastIrreversiblePly = 1;
  EXPECT_EQ(Adjudicate(), "0:");
}

TEST(GameEnd, Resignation) {
  SetPosition("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", 7);
  int savedSide = computerSide, savedThreshold = resignThreshold;

  // Engine White, threshold 0: three scores below 0 anywhere in the game.
  computerSide = WHITE;
  resignThreshold = 0;
  gameHistory[0].score = -1;
  gameHistory[2].score = -5;
  EXPECT_EQ(Adjudicate(), "0:");
  gameHistory[4].score = -3;
  EXPECT_EQ(Adjudicate(),
            "1:resign\n# resigned because we had 3 scores worse than 0.\n"
            "# move 0, score: -1\n# move 1, score: 0\n# move 2, score: -5\n# move 3, score: 0\n"
            "# move 4, score: -3\n# move 5, score: 0\n# move 6, score: 0\n");

  // Engine Black, threshold 300: scores of exactly 300 do not count.
  memset(gameHistory, 0, sizeof(gameHistory));
  computerSide = BLACK;
  resignThreshold = 300;
  gameHistory[1].score = 300;
  gameHistory[3].score = 301;
  gameHistory[5].score = 400;
  EXPECT_EQ(Adjudicate(), "0:");
  gameHistory[1].score = 350;
  EXPECT_EQ(Adjudicate().rfind("1:resign\n# resigned because we had 3 scores worse than 300.\n", 0), 0u);

  // No engine side: nothing counts.
  computerSide = 2;
  EXPECT_EQ(Adjudicate(), "0:");
  computerSide = savedSide;
  resignThreshold = savedThreshold;
}
