// The xboard front end's think driver: the engine's own move, pondering,
// analysis mode and the analyses of the console tools, through the engine
// interface, with the chosen move played on the game and sent as "move".
// Also the session state the commands set: analysis mode, pause, a refused
// set-up position and fixed time per move. Uses every layer below.
#pragma once

#include "search/engine.h"

// "analyze" until "exit": the engine plays no side and searches the game
// position with no time limit, printing its thinking and never a move.
extern int analysisMode;
// The analysis is to (re)start on the game position.
extern int analysisDue;
// The last "setboard" was no position of a game: nothing is searched until
// "new" or a good "setboard".
extern int illegalPosition;
// "pause" until "resume": no search starts and a running one is held.
extern int paused;
// "st": seconds for each move of the engine; 0 plays by the clock.
extern double secondsPerMove;
// THINK_PLAY, THINK_PONDER or THINK_ANALYSE while Think or the analysis
// runs a search; -1 otherwise.
extern int runningThink;

// Adjudicates, asks the book for the engine's own move early in the game,
// searches mainBoard in the mode (THINK_PLAY, THINK_PONDER, THINK_ANALYSE)
// and, in play mode, plays the chosen move.
void Think(int mode);
// The main loop's turn: adjudicates a game in play and runs the search that
// is due (the engine's move, a ponder search, the analysis). Returns 1 when
// a search ran, 0 when the engine waits for a command.
int RunDueSearch();

// Thinking reports of every search: remembered for "hint"; printed in
// analysis mode whether or not "post" is on, otherwise as ShowThinking.
void XboardThinking(const ThinkingReport& report);
// The move the engine expects from its opponent in the game position (or,
// in analysis, the best move found) into text; 0 when it has none.
int HintMove(char* text);
// The "stat01:" line of the running (or last) analysis.
void PrintAnalysisStatus();
