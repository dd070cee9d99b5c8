// The built-in test positions of the diagnostic commands and the benchmark.
// Front end: may use every layer.
#pragma once

enum TestPositionId {
  POS_START,
  POS_KIWI,
  POS_P1,
  POS_P2,
  POS_P3,
  POS_P4,
  POS_P5,
  POS_P6,
  POS_FINE70,
  POS_P8,
  POS_P9,
  POS_FEN6,
  TEST_POSITION_COUNT
};

// FEN text of each position; some carry a trailing EPD operation.
extern const char* const testPositions[TEST_POSITION_COUNT];
