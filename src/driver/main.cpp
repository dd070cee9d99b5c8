// Program entry: start-up, the main loop and shutdown.
#include <csignal>
#include <cstdio>

#include "board/hashkeys.h"
#include "board/tables.h"
#include "driver/commands.h"
#include "driver/config.h"
#include "driver/engine.h"
#include "driver/input.h"

int main() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  // xboard sends SIGINT to its engines; it must not end the process.
  signal(SIGINT, SIG_IGN);

  InitTables();
  searchStartTime = ReadClock();
  if (ReadConfig() != 0) printf("Resource file not found.\n");
  OpenLog();
  // The opening book is opened here once it exists.
  if (AllocateHashTable() != 0) {
    printf("Not enough memory to allocate buffer\n");
    CloseLog();
    return 1;
  }
  // The start-up speed measurement runs here once the search exists.
  ClearSearchMemory();
  printf("Welcome to %s\n", VERSION_TEXT);
  AdvanceRandom();
  inSearch = 0;

  while (quitFlag == 0) {
    // Game-end adjudication, thinking on the engine's move and pondering
    // come before the command read once the search exists.
    if (RingIsEmpty()) WaitForCommand();
    InterpretCommand();
  }

  FreeHashTable();
  CloseLog();
  return 0;
}
