// Program entry: the start-up list, the main loop and shutdown.
#include <csignal>
#include <cstdio>

#include "base/clock.h"
#include "base/output.h"
#include "base/poll.h"
#include "board/fen.h"
#include "board/hashkeys.h"
#include "board/movegen.h"
#include "board/tables.h"
#include "book/book.h"
#include "driver/config.h"
#include "driver/input.h"
#include "driver/mainloop.h"
#include "driver/play.h"
#include "search/hash.h"
#include "search/think.h"

static const char* const START_POSITION = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// Two root searches from the start position (1 and 6 plies) give the
// nodes per second that time allocation works with.
static void MeasureSpeed() {
  ReadFen(START_POSITION, mainBoard);
  stopTimeA = stopTimeB = stopTimeC = 10.0;
  nodes = 0;
  pollnodes = 524287;
  inSearch = 3;
  endSearch = 0;
  inPonder = 1;
  searchStartTime = ReadClock();
  rootMoveCount = GenerateMoves(mainBoard, rootMoves);
  rootInCheck = inCheck;
  RootSearch(1, mainBoard);
  RootSearch(6, mainBoard);
  double elapsed = ElapsedSince(searchStartTime);
  systemSpeed = elapsed > 0 ? (int)((double)nodes / elapsed) : 0;
  printf("# System speed: %d NPS\n", systemSpeed);
  ReadFen(START_POSITION, mainBoard);
  inSearch = 0;
  forceMode = 1;
  computerSide = 2;
  inPonder = 0;
  mainBoard.gamePly = 0;
  endSearch = 1;
}

int main() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  // xboard sends SIGINT to its engines; it must not end the process.
  signal(SIGINT, SIG_IGN);

  InitTables();
  SetStateDefaults();
  ResetRing();
  ReadFen(START_POSITION, mainBoard);
  mainBoard.gamePly = 0;
  // The search reads and acts on waiting lines at its poll points.
  inputPoll = ReadInput;
  thinkingHook = XboardThinking;
  searchStartTime = ReadClock();
  if (ReadConfig() != 0) printf("Resource file not found.\n");
  OpenLog();
  OpenBook();
  if (AllocateHashTable() != 0) {
    printf("Not enough memory to allocate buffer\n");
    CloseLog();
    return 1;
  }
  MeasureSpeed();
  ClearSearchMemory();
  printf("Welcome to %s\n", VERSION_TEXT);
  AdvanceRandom();
  inSearch = 0;

  MainLoop();

  FreeHashTable();
  CloseLog();
  return 0;
}
