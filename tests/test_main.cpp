// Test entry: the engine's tables are built once per test process, and
// standard output is unbuffered as in the engine, so captured output is whole.
#include <gtest/gtest.h>

#include <cstdio>

#include "board/tables.h"

int main(int argc, char** argv) {
  setvbuf(stdout, nullptr, _IONBF, 0);
  testing::InitGoogleTest(&argc, argv);
  InitTables();
  return RUN_ALL_TESTS();
}
