// The engine's global game state, the new-game reset and the search memory.
#include "driver/engine.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

#include "board/fen.h"
#include "search/hash.h"
#include "search/search.h"

static const char* const START_POSITION = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

GameRecord gameHistory[GAME_HISTORY_SIZE];
int lastIrreversiblePly = 0;
char bookLine[BOOK_LINE_SIZE];
char bookName[BOOK_NAME_SIZE];

int inSearch = 0;
int endSearch = 1;
int inPonder = 0;
int forceMode = 1;
int computerSide = 2;
int ponderMode = 0;
int postMode = 1;
int kibitzMode = 0;
int quitFlag = 0;
int fixedDepth = 0;
int resignThreshold = 0;

int movesPerControl = 40;
double baseMinutes = 5.0;
int increment = 0;
double comptime = 300.0;
double opptime = 300.0;
double searchStartTime = 0.0;
double stopTimeA = 10.0, stopTimeB = 10.0, stopTimeC = 10.0;
int systemSpeed = 0;
int pollnodes = 524287;

FILE* logFile = nullptr;
FILE* epdLogFile = nullptr;

int NewGame() {
  endSearch = 3;
  ReadFen(START_POSITION, mainBoard);
  mainBoard.gamePly = 0;
  computerSide = 1;
  forceMode = 0;
  comptime = opptime = baseMinutes * 60;
  ClearSearchMemory();
  bookLine[0] = 0;
  memset(gameHistory, 0, sizeof(gameHistory));
  return 1;
}

void ClearSearchMemory() {
  ClearHashTable();
  ClearHistoryAndKillers();
}

int AllocateHashTable() {
  size_t bytes = sizeof(HashEntry) * ((size_t)hashEntries + HASH_SPARE_ENTRIES);
  // Whole 2 MB pages, so that the system can back the table with large
  // pages: probes all over the table then miss the address cache far less.
  const size_t page = 2u << 20;
  bytes = (bytes + page - 1) / page * page;
  hashTable = (HashEntry*)aligned_alloc(page, bytes);
  if (hashTable == nullptr) return 1;
  madvise(hashTable, bytes, MADV_HUGEPAGE);
  return 0;
}

void FreeHashTable() {
  free(hashTable);
  hashTable = nullptr;
}
