#include <gtest/gtest.h>

#include <cstring>

#include "board/fen.h"
#include "capture.h"
#include "base/state.h"
#include "search/engine.h"
#include "search/hash.h"
#include "search/search.h"

TEST(NewGame, ResetsTheGameAndKeepsTheSettings) {
  CaptureOutput([] { ReadFen("4k3/8/8/8/8/8/8/4K3 b - -", mainBoard); });
  mainBoard.gamePly = 31;
  gameHistory[0] = {123u, 456u, 7};
  gameHistory[GAME_HISTORY_SIZE - 1] = {1u, 2u, 3};
  strcpy(bookLine, "e2e4");
  forceMode = 1;
  computerSide = 2;
  endSearch = 0;
  baseMinutes = 2.0;
  movesPerControl = 30;
  increment = 12;
  comptime = 1.0;
  opptime = 2.0;
  fixedDepth = 6;
  ponderMode = 1;
  postMode = 0;
  kibitzMode = 1;
  lastIrreversiblePly = 9;
  history[1][2] = 55;
  killerMove[3] = 77;
  killerPly = 4;

  EXPECT_EQ(NewGame(), 1);

  Board start;
  CaptureOutput([&] { ReadFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", start); });
  start.gamePly = 0;
  EXPECT_EQ(memcmp(&mainBoard, &start, sizeof(Board)), 0);
  EXPECT_EQ(endSearch, 3);
  EXPECT_EQ(computerSide, 1);
  EXPECT_EQ(forceMode, 0);
  EXPECT_EQ(comptime, 120.0);
  EXPECT_EQ(opptime, 120.0);
  EXPECT_STREQ(bookLine, "");
  EXPECT_EQ(gameHistory[0].move, 0u);
  EXPECT_EQ(gameHistory[0].hashkey, 0u);
  EXPECT_EQ(gameHistory[0].score, 0);
  EXPECT_EQ(gameHistory[GAME_HISTORY_SIZE - 1].score, 0);
  EXPECT_EQ(history[1][2], 0u);
  EXPECT_EQ(killerMove[3], 0u);
  EXPECT_EQ(killerPly, 0);
  // The settings stay.
  EXPECT_EQ(baseMinutes, 2.0);
  EXPECT_EQ(movesPerControl, 30);
  EXPECT_EQ(increment, 12);
  EXPECT_EQ(fixedDepth, 6);
  EXPECT_EQ(ponderMode, 1);
  EXPECT_EQ(postMode, 0);
  EXPECT_EQ(kibitzMode, 1);
  EXPECT_EQ(lastIrreversiblePly, 9);
}

TEST(ClearSearchMemory, ZeroesTheTableButNotItsSpareEntries) {
  uint32_t savedEntries = hashEntries;
  hashEntries = 100;
  ASSERT_EQ(AllocateHashTable(), 0);
  memset(hashTable, 0xAB, sizeof(HashEntry) * (hashEntries + HASH_SPARE_ENTRIES));
  history[63][63] = 9;
  killerMove[MAX_KILLER_PLY - 1] = 5;
  killerPly = 2;

  ClearSearchMemory();

  for (uint32_t i = 0; i < hashEntries; i++) {
    ASSERT_EQ(hashTable[i].key, 0u) << i;
    ASSERT_EQ(hashTable[i].move, 0u) << i;
    ASSERT_EQ(hashTable[i].score, 0) << i;
  }
  EXPECT_EQ(hashTable[hashEntries].key, 0xABABABABABABABABull);
  EXPECT_EQ(hashTable[hashEntries + HASH_SPARE_ENTRIES - 1].key, 0xABABABABABABABABull);
  EXPECT_EQ(history[63][63], 0u);
  EXPECT_EQ(killerMove[MAX_KILLER_PLY - 1], 0u);
  EXPECT_EQ(killerPly, 0);

  FreeHashTable();
  EXPECT_EQ(hashTable, nullptr);
  hashEntries = savedEntries;
}
