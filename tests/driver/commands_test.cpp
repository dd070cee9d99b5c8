#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/fen.h"
#include "capture.h"
#include "driver/commands.h"
#include "base/state.h"
#include "search/engine.h"
#include "driver/epd.h"
#include "driver/input.h"

// Queues one line and lets the interpreter execute it.
static std::string Execute(const std::string& line) {
  ResetRing();
  AddToRing(line.c_str());
  std::string output = CaptureOutput([] { EXPECT_EQ(InterpretCommand(), 1); });
  EXPECT_TRUE(RingIsEmpty());
  return output;
}

TEST(InterpretCommand, EmptyRingDoesNothing) {
  ResetRing();
  EXPECT_EQ(CaptureOutput([] { EXPECT_EQ(InterpretCommand(), 0); }), "");
}

TEST(InterpretCommand, MatchesWholeCommandWordsOnly) {
  struct Case {
    const char* line;
    const char* output;
  };
  const Case cases[] = {
      {"xboard\n", "# xboard mode activated\n"},
      {"  xboard   extra words\r\n", "# xboard mode activated\n"},
      {"xboardx\n", "Error (unknown command): xboardx\n"},
      {"xboar\n", "Error (unknown command): xboar\n"},
      {"XBOARD\n", "Error (unknown command): XBOARD\n"},
      {"setb\n", "Error (unknown command): setb\n"},
      {"setboardx 8/8/8/8/8/8/8/8 w - -\n", "Error (unknown command): setboardx\n"},
      {"dd\n", "Error (unknown command): dd\n"},
      {"\n", ""},
      {"    \t \r\n", ""},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Execute(c.line), c.output) << c.line;
}

TEST(InterpretCommand, OverLongCommandWordIsCut) {
  std::string word(300, 'w');
  EXPECT_EQ(Execute(word + " 1\n"), "Error (unknown command): " + std::string(63, 'w') + "\n");
}

TEST(InterpretCommand, QuitAndExitStopTheSearchAndTheLoop) {
  struct Case {
    const char* line;
    const char* output;
  };
  const Case cases[] = {
      {"quit\n", "Received quit. Need to exit game.\n"},
      {"exit\r\n", "Received exit. Exiting game.\n"},
  };
  for (const Case& c : cases) {
    quitFlag = 0;
    endSearch = 0;
    EXPECT_EQ(Execute(c.line), c.output);
    EXPECT_EQ(quitFlag, 1);
    EXPECT_EQ(endSearch, 3);
  }
  quitFlag = 0;
}

// The board display as the display commands print it.
static std::string Display() {
  return CaptureOutput([] { DisplayBoard(mainBoard, 1); });
}

TEST(Setboard, SetsThePositionGamePlyAndBookLine) {
  struct Case {
    const char* fen;
    int onMove, gamePly;
  };
  const Case cases[] = {
      {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", WHITE, 2},
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", BLACK, 3},
  };
  for (const Case& c : cases) {
    forceMode = 1;
    computerSide = 2;
    mainBoard.gamePly = 40;
    strcpy(bookLine, "e2e4e7e5");
    std::string output = Execute(std::string("setboard ") + c.fen + " 0 1\r\n");

    Board expected;
    CaptureOutput([&] { ReadFen(c.fen, expected); });
    expected.gamePly = c.gamePly;
    EXPECT_EQ(memcmp(&mainBoard, &expected, sizeof(Board)), 0) << c.fen;
    EXPECT_EQ(mainBoard.onMove, c.onMove);
    EXPECT_EQ(mainBoard.gamePly, c.gamePly);
    EXPECT_STREQ(bookLine, "8");
    EXPECT_EQ(forceMode, 1);
    EXPECT_EQ(computerSide, 2);
    // The move counters reach the operation parser as one operation; then
    // the board is shown.
    EXPECT_EQ(output, "not parsed:0 1\n" + Display()) << c.fen;
    EXPECT_EQ(Execute("d\n"), Display());
    EXPECT_EQ(Execute("display\n"), Display());
  }
}

TEST(Setboard, WithoutAPositionLeavesTheBoardAlone) {
  CaptureOutput([] { ReadFen("4k3/8/8/8/8/8/8/4K3 b - -", mainBoard); });
  mainBoard.gamePly = 5;
  strcpy(bookLine, "e2e4");
  Board before = mainBoard;
  for (const char* line : {"setboard\n", "setboard \n", "setboard"}) {
    EXPECT_EQ(Execute(line), "Error (setboard): no position given\n") << line;
    EXPECT_EQ(memcmp(&mainBoard, &before, sizeof(Board)), 0) << line;
    EXPECT_STREQ(bookLine, "e2e4");
  }
}

TEST(ParseEpdOp, ReadsIdBmAndSd) {
  struct Case {
    const char* op;
    const char* output;
  };
  strcpy(epdBm2, "old");
  const Case cases[] = {
      {"id \"WAC.001\"", "parsed: id=\"WAC.001\"\n"},
      {"bm Nxe3", "parsed: bm=Nxe3\n"},
      {"sd 7", "searchDepth set at 7\n"},
      {"0 1", "not parsed:0 1\n"},
      {"am Qxb2", "not parsed:am Qxb2\n"},
      {"bmx e4", "not parsed:bmx e4\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(CaptureOutput([&] { ParseEpdOp(c.op); }), c.output) << c.op;
  EXPECT_STREQ(epdId, "\"WAC.001\"");
  EXPECT_STREQ(epdBm, "Nxe3");
  EXPECT_STREQ(epdBm2, "old");  // one move names no second
  EXPECT_EQ(fixedDepth, 7);

  EXPECT_EQ(CaptureOutput([] { ParseEpdOp("bm Qd2 Qe1"); }), "parsed: bm=Qd2\nparsed: bm=Qe1\n");
  EXPECT_STREQ(epdBm, "Qd2");
  EXPECT_STREQ(epdBm2, "Qe1");
  // Blanks after a single move are not a second move.
  EXPECT_EQ(CaptureOutput([] { ParseEpdOp("bm e4   "); }), "parsed: bm=e4\n");
  EXPECT_STREQ(epdBm2, "Qe1");
  fixedDepth = 0;
}

TEST(ParseEpdOp, OverLongWordsAreCut) {
  std::string id = "id " + std::string(100, 'i');
  CaptureOutput([&] { ParseEpdOp(id.c_str()); });
  EXPECT_EQ(std::string(epdId), std::string(EPD_ID_SIZE - 1, 'i'));
  EXPECT_EQ(CaptureOutput([] { ParseEpdOp("bm Rxf6+checkmate Qxh7+++++"); }),
            "parsed: bm=Rxf6+ch\nparsed: bm=Qxh7+++\n");
  std::string opcode = std::string(100, 'o') + " x";
  EXPECT_EQ(CaptureOutput([&] { ParseEpdOp(opcode.c_str()); }), "not parsed:" + opcode + "\n");
}
