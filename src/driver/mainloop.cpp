// The main loop: play, ponder, or wait for and run the next command.
#include "driver/mainloop.h"

#include <cstdio>

#include "base/state.h"
#include "driver/commands.h"
#include "driver/input.h"
#include "driver/play.h"
#include "search/gameend.h"

void MainLoop() {
  while (quitFlag == 0) {
    if (forceMode == 0 && CheckGameEnd(mainBoard)) {
      printf("Entering forcemode.\n");
      forceMode = 1;
    }
    if (inSearch == 0 && forceMode == 0 && mainBoard.onMove == computerSide) {
      Think(THINK_PLAY);
      continue;
    }
    if (inSearch == 0 && forceMode == 0 && mainBoard.onMove != computerSide && ponderMode == 2) {
      Think(THINK_PONDER);
      continue;
    }
    if (RingIsEmpty()) WaitForCommand();
    InterpretCommand();
  }
  // A "quit" read early by a search waits in the queue behind the lines
  // that came before it: they still run, in order, then its reply.
  while (InterpretCommand()) {
  }
}
