// The FEN reader (with the EPD operations after a position), then the
// moves of every position it accepts: generated, made and unmade.
#include <cstring>

#include "board/fen.h"
#include "board/movegen.h"
#include "board/verify.h"
#include "base/state.h"
#include "search/engine.h"
#include "fuzz_common.h"
#include "moves/makemove.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  ResetEngineState();
  const std::string text = InputText(data, size);
  Board board = mainBoard;
  if (!ReadFen(text.c_str(), board)) {
    // A refused text leaves the board as it was.
    if (memcmp(&board, &mainBoard, sizeof(Board)) != 0) __builtin_trap();
    return 0;
  }
  char fen[FEN_SIZE];
  WriteFen(board, fen);
  DisplayBoard(board, 0);
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(board, list);
  for (int i = 0; i < MOVE_LIST_LIMIT && list[i] != 0; i++) {
    Board copy = board;
    if (!MakeMove(list[i], copy)) continue;
    Move reply[MOVE_LIST_SIZE];
    GenerateMoves(copy, reply);
    UnmakeMove(list[i], copy);
  }
  return 0;
}
