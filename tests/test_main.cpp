// Test entry: the engine's tables are built once per test process, and
// standard output is unbuffered as in the engine, so captured output is whole.
#include <gtest/gtest.h>

#include <cstdio>

#include "base/poll.h"
#include "base/state.h"
#include "board/fen.h"
#include "board/tables.h"
#include "driver/input.h"

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  testing::InitGoogleTest(&argc, argv);
  // The engine's start-up list, as far as the tests need it.
  InitTables();
  SetStateDefaults();
  ResetRing();
  ReadFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", mainBoard);
  mainBoard.gamePly = 0;
  inputPoll = ReadInput;
  return RUN_ALL_TESTS();
}
