// The process-wide state and its start-up values.
#include "base/state.h"

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

uint64_t nodes = 0;

FILE* logFile = nullptr;
FILE* epdLogFile = nullptr;

void SetStateDefaults() {
  baseMinutes = 5.0;
  movesPerControl = 40;
  comptime = 300.0;
  opptime = baseMinutes * 60;
  ponderMode = 0;
  postMode = 1;
  kibitzMode = 0;
  quitFlag = 0;
  forceMode = 1;
  computerSide = 2;
  endSearch = 1;
}
