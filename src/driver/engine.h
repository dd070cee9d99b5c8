// Process-wide game and engine state shared by every subsystem.
#pragma once

#include <cstdint>
#include <cstdio>

#include "board/board.h"

constexpr const char* VERSION_TEXT = "Quorvel 2.26";

constexpr int GAME_HISTORY_SIZE = 1000;
constexpr int BOOK_LINE_SIZE = 4096;
constexpr int BOOK_NAME_SIZE = 88;

// Default transposition table: 64 MB of 24-byte entries.
constexpr uint32_t DEFAULT_HASH_ENTRIES = 64u * 1000000u / 24u;

struct GameRecord {
  Move move;     // the move played at this index
  u64 hashkey;   // key of the position after that move
  int score;     // engine's score for its own move, White's point of view
};

// Position and game record.
extern GameRecord gameHistory[GAME_HISTORY_SIZE];
extern int lastIrreversiblePly;
extern char bookLine[BOOK_LINE_SIZE];
extern char bookName[BOOK_NAME_SIZE];

// Mode flags.
extern int inSearch;
extern int endSearch;
extern int inPonder;
extern int forceMode;
extern int computerSide;
extern int ponderMode;
extern int postMode;
extern int kibitzMode;
extern int quitFlag;
extern int fixedDepth;
extern int resignThreshold;

// Clock and time control.
extern int movesPerControl;
extern double baseMinutes;
extern int increment;
extern double comptime;
extern double opptime;
extern double searchStartTime;
extern double stopTimeA, stopTimeB, stopTimeC;
extern int systemSpeed;
extern int pollnodes;

// Files held open for the run.
extern FILE* logFile;
extern FILE* epdLogFile;

// New game: start position, engine plays Black, clocks reset, memory cleared.
int NewGame();
// Zero the transposition table, history counters and killer moves.
void ClearSearchMemory();
// Allocate the transposition table of hashEntries (+8 spare) entries.
// Returns 0 on success, 1 when the memory cannot be had.
int AllocateHashTable();
void FreeHashTable();
