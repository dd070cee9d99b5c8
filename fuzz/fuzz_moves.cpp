// The coordinate and algebraic move readers on the built-in positions: the
// first byte picks the position, the rest is the move text.
#include "board/fen.h"
#include "base/state.h"
#include "search/engine.h"
#include "moves/parsemove.h"
#include "driver/testpositions.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  ResetEngineState();
  if (size == 0) return 0;
  ReadFen(testPositions[data[0] % TEST_POSITION_COUNT], mainBoard);
  const std::string text = InputText(data + 1, size - 1);
  char coordinate[8];
  ParseSanMove(text.c_str(), mainBoard, coordinate);
  ParseUserMove(coordinate);
  ParseUserMove(text.c_str());
  return 0;
}
