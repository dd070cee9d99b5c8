// Shared set-up of the search tests: a small transposition table, no input
// polls, no thinking lines, stop thresholds out of reach.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "board/fen.h"
#include "board/movegen.h"
#include "capture.h"
#include "base/state.h"
#include "search/engine.h"
#include "search/hash.h"
#include "search/search.h"
#include "driver/play.h"
#include "search/think.h"

struct SearchFixture : testing::Test {
  void SetUp() override {
    hashEntries = 1u << 16;
    ASSERT_EQ(AllocateHashTable(), 0);
    ClearSearchMemory();
    memset(gameHistory, 0, sizeof(gameHistory));
    pollnodes = 0x7FFFFFFF;
    // A speed so high that the poll interval of a search stays beyond its
    // node count: no test reads standard input.
    systemSpeed = 500000000;
    stopTimeA = stopTimeB = stopTimeC = 1e6;
    comptime = 1000;
    movesPerControl = 40;
    increment = 0;
    postMode = 0;
    kibitzMode = 0;
    ponderMode = 0;
    inSearch = 0;
    inPonder = 0;
    endSearch = 0;
    fixedDepth = 0;
    lastRootScore = 0;
    bookLine[0] = 0;
  }
  void TearDown() override { FreeHashTable(); }

  // Sets the game position (also for the root's board check) and its list.
  static Board SetRoot(const char* fen, int gamePly = 10) {
    CaptureOutput([&] { ReadFen(fen, mainBoard); });
    mainBoard.gamePly = gamePly;
    rootMoveCount = GenerateMoves(mainBoard, rootMoves);
    rootInCheck = inCheck;
    return mainBoard;
  }
};

inline int Sq(const char* name) { return (name[1] - '1') * 8 + ('h' - name[0]); }

inline Move FindMove(const Move* list, const char* from, const char* to) {
  for (int i = 0; list[i]; i++)
    if (MoveFrom(list[i]) == Sq(from) && MoveTo(list[i]) == Sq(to)) return list[i];
  return 0;
}
