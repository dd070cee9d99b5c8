// The engine interface every front end drives: the game position with its
// history, a search under limits that reports its thinking and its result
// through callbacks, a stop, and a new game. The xboard front end and the
// console tools use it; a protocol front end needs nothing of the search
// beyond this header. Uses the base, board, moves and search layers.
#pragma once

#include <cstdint>

#include "board/board.h"
#include "search/search.h"

// How a search shares out the clock (see AllocateTime).
// The deepest iteration: the limit without "sd", and the largest "sd".
constexpr int MAX_SEARCH_DEPTH = 60;
constexpr int THINK_PLAY = 0;     // the engine's own move
constexpr int THINK_PONDER = 1;   // on the opponent's time, on a guessed move
constexpr int THINK_ANALYSE = 2;  // analysis of mainBoard for comptime seconds

// The chosen move of a finished search.
struct SearchResult {
  Move move;
  int rootIndex;     // its index in rootMoves
  int score;         // from the side to move's point of view
  double elapsed;    // seconds since the search started
  u64 searchedKey;   // key of the position that was searched
};

// What a search is allowed to do. A zero record is an analysis under the
// clock's allocation with no book, no adjudication and no result callback.
struct SearchLimits {
  int mode;           // THINK_PLAY, THINK_PONDER or THINK_ANALYSE
  int depth;          // most iterations; 0 for fixedDepth (or no limit)
  double moveTime;    // seconds for this search, no more; 0 for the clock
  int infinite;       // no time limit: only a stop ends the search
  int adjudicate;     // judge the game's end first and search nothing if it is over
  int (*probeBook)();                          // asked first when set; 1 when it played a move
  void (*onResult)(const SearchResult& result);  // told the chosen move in play mode
  uint64_t nodes;           // most nodes to visit; 0 for no limit
  const Move* searchMoves;  // root moves to search, ended by 0; nullptr for every move
};

// One thinking report of a running search.
constexpr int THINKING_NEW_BEST = 0;   // a new best root move
constexpr int THINKING_ITERATION = 1;  // an iteration ended
constexpr int THINKING_KIBITZ = 2;     // the kibitz point after an iteration
constexpr int THINKING_ROOT_MOVE = 3;  // the search of a root move begins

struct ThinkingReport {
  int kind;
  int ply;           // the iteration
  double elapsed;    // seconds since the search started
  int score;
  uint64_t nodes;
  const Line* line;  // the principal variation (as it stands, for THINKING_ROOT_MOVE)
  int selDepth;      // deepest ply reached so far
  Move rootMove;     // THINKING_ROOT_MOVE: the move and its number from 1
  int rootMoveNumber;
};

// Where thinking reports go. The default prints the engine's thinking lines
// (while "post" is on) and kibitz lines; a front end may install its own.
extern void (*thinkingHook)(const ThinkingReport& report);
void ShowThinking(const ThinkingReport& report);

// Searches mainBoard (on a copy) under the limits. Returns when the search
// has ended: by its limits, or by StopSearch called from the input poll.
void SearchPosition(const SearchLimits& limits);
// Asks the running search to stop at once.
void StopSearch();
// Puts the running search under the time allocation of the limits from this
// moment on: a search on the opponent's time becomes the engine's own.
void RestartClock(const SearchLimits& limits);
// Moves to mate for a mate score of a search of mainBoard with its line:
// positive when the side to move mates, negative when it is mated. Exact
// when the line (continued by the table's moves) ends in mate; otherwise
// counted from the line's length.
int MateInMoves(int score, const Line& line);

// Sets the game to the FEN position (the start position for nullptr) and
// plays the blank-separated coordinate moves on it, recording each in the
// game history so that repetitions and the fifty-move count are judged as
// in a game. Returns 1 when the FEN was read and every move played; 0 when a
// move was not legal (the game stops before it, its text in badMove of
// badMoveSize bytes).
int SetPosition(const char* fen, const char* moves, char* badMove, int badMoveSize);

// New game: start position, engine plays Black, clocks reset, memory cleared.
int NewGame();
// Zero the transposition table, history counters and killer moves.
void ClearSearchMemory();
// A new empty transposition table of the given megabytes (1 to
// HASH_MEGABYTES_MAX). 0 on success; 1 when the memory cannot be had, and
// the table keeps its old size (emptied).
int ResizeHashTable(int megabytes);
// The table's size in megabytes, and its filled share in thousandths.
int HashTableMegabytes();
int HashTableFull();
