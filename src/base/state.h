// Process-wide game and engine state: the game record, the mode flags, the
// clocks and the files held open for the run. Every layer may read and set
// these; this header uses nothing but the standard library.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr const char* VERSION_TEXT = "Quorvel 2.26";

constexpr int GAME_HISTORY_SIZE = 1000;
constexpr int BOOK_LINE_SIZE = 4096;
constexpr int BOOK_NAME_SIZE = 88;

// Default transposition table: 64 MB of 24-byte entries.
constexpr uint32_t DEFAULT_HASH_ENTRIES = 64u * 1000000u / 24u;

// One half-move of the game (the move word and the key as the board layer
// codes them).
struct GameRecord {
  uint32_t move;     // the move played at this index
  uint64_t hashkey;  // key of the position after that move
  int score;         // engine's score for its own move, White's point of view
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

// Nodes visited by the running search (leaves in perft).
extern uint64_t nodes;

// Files held open for the run.
extern FILE* logFile;
extern FILE* epdLogFile;

// The engine's start-up values of the time control and the modes: five
// minutes for 40 moves, no pondering, thinking lines on, force mode with no
// engine side.
void SetStateDefaults();
