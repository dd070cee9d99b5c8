// The xboard front end's think driver: the engine's own move, pondering and
// the analyses of the console tools, through the engine interface, with the
// chosen move played on the game and sent as "move". Uses every layer below.
#pragma once

#include "search/engine.h"

// Adjudicates, asks the book for the engine's own move early in the game,
// searches mainBoard in the mode (THINK_PLAY, THINK_PONDER, THINK_ANALYSE)
// and, in play mode, plays the chosen move.
void Think(int mode);
