// The main loop: play, ponder, or wait for and run the next command.
#include "driver/mainloop.h"

#include "base/state.h"
#include "driver/commands.h"
#include "driver/input.h"
#include "driver/play.h"

void MainLoop() {
  while (quitFlag == 0) {
    if (RunDueSearch()) continue;
    if (RingIsEmpty()) WaitForCommand();
    InterpretCommand();
  }
  // A "quit" read early by a search waits in the queue behind the lines
  // that came before it: they still run, in order, then its reply.
  while (InterpretCommand()) {
  }
}
