#include <gtest/gtest.h>

#include <string>

#include "capture.h"
#include "base/state.h"
#include "search/engine.h"
#include "search/think.h"
#include "search/timectl.h"

namespace {

struct Allocation {
  double A, B, C;
  int poll;
};

Allocation Allocate(double T, int M, int inc, int gamePly, int speed, int mode = THINK_PLAY) {
  comptime = T;
  movesPerControl = M;
  increment = inc;
  mainBoard.gamePly = gamePly;
  systemSpeed = speed;
  CaptureOutput([&] { AllocateTime(mode); });
  return {stopTimeA, stopTimeB, stopTimeC, pollnodes};
}

}  // namespace

TEST(AllocateTime, TimeControlShapes) {
  // 40 moves in 5 minutes at the start: 41 moves to go with the reserve.
  Allocation a = Allocate(300, 40, 0, 0, 500000);
  EXPECT_NEAR(a.A, 3.659, 0.001);
  EXPECT_NEAR(a.B, 6.585, 0.001);
  EXPECT_NEAR(a.C, 29.268, 0.001);
  // The last move before the control.
  a = Allocate(20, 40, 0, 78, 500000);
  EXPECT_DOUBLE_EQ(a.A, 5);
  EXPECT_DOUBLE_EQ(a.B, 9);
  EXPECT_DOUBLE_EQ(a.C, 7);
  // Sudden death.
  a = Allocate(60, 0, 0, 10, 500000);
  EXPECT_NEAR(a.A, 0.857, 0.001);
  EXPECT_NEAR(a.B, 1.543, 0.001);
  EXPECT_NEAR(a.C, 6.857, 0.001);
  // Increment: the cap is 0.7 T.
  a = Allocate(10, 0, 12, 10, 500000);
  EXPECT_NEAR(a.A, 6.143, 0.001);
  EXPECT_DOUBLE_EQ(a.B, 7);
  EXPECT_DOUBLE_EQ(a.C, 7);
}

TEST(AllocateTime, ModesScaleTheThresholds) {
  Allocation ponder = Allocate(60, 0, 0, 10, 500000, THINK_PONDER);
  EXPECT_NEAR(ponder.A, 8.571, 0.001);
  EXPECT_NEAR(ponder.C, 68.571, 0.001);
  Allocation analyse = Allocate(2.5, 40, 0, 10, 500000, THINK_ANALYSE);
  EXPECT_DOUBLE_EQ(analyse.A, 2.5);
  EXPECT_DOUBLE_EQ(analyse.B, 2.5);
  EXPECT_DOUBLE_EQ(analyse.C, 3.0);
}

TEST(AllocateTime, PollInterval) {
  // 500000 nodes a second, B = 0.6: 2^14 - 1; the cap of an eighth of a
  // second's nodes is 2^15 - 1.
  EXPECT_EQ(Allocate(0.6 / 0.9 * 35, 0, 0, 0, 500000).poll, 16383);
  EXPECT_EQ(Allocate(6 / 0.9 * 35, 0, 0, 0, 500000).poll, 32767);  // capped by S / 8
  EXPECT_EQ(Allocate(1e6, 0, 0, 0, 500000).poll, 32767);
  EXPECT_EQ(Allocate(0.01, 0, 0, 0, 500000).poll, 1023);     // tiny B
  EXPECT_EQ(Allocate(300, 40, 0, 0, 0).poll, 1023);          // no speed measured
  EXPECT_EQ(Allocate(-5, 0, 0, 0, 500000).poll, 1023);       // clock already overdrawn
}

TEST(AllocateTime, ReportLine) {
  comptime = 300;
  movesPerControl = 40;
  increment = 0;
  mainBoard.gamePly = 0;
  systemSpeed = 500000;
  std::string out = CaptureOutput([] { AllocateTime(THINK_PLAY); });
  EXPECT_EQ(out, "comptime 300.00  A= 3.659  B= 6.585  C=29.268 pollnodes=32767\n");
}

TEST(PrintThinking, Layout) {
  Line line{};
  line.count = 2;
  line.moves[0] = MakeMoveWord(11, 27, WPAWN, 0, 0);   // e2e4
  line.moves[1] = MakeMoveWord(52, 36, BPAWN, 0, 0);   // d7d5
  EXPECT_EQ(CaptureOutput([&] { PrintThinking(7, 1.234, -35, 45678, line, 1); }),
            " 7    -35     123      45678 e2e4 d7d5 \n");
  EXPECT_EQ(CaptureOutput([&] { PrintThinking(12, 20.0, 15, 800000, line, 0); }),
            "tellics kibitz ply=12 score=15 time=2000 nodes=800000  NPS=40000 e2e4 d7d5 \n");
  EXPECT_EQ(CaptureOutput([&] { PrintThinking(3, 0, 0, 0, line, 5); }), "e2e4 d7d5 \n");
}
