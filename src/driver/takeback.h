// Take-back of the game's half-moves: the whole game state from before each
// move of the game since its start or its last set-up position.
// Front end: uses the base and board layers.
#pragma once

// Saves the state before a game move; call before playing it.
void SaveStateBeforeMove();
// Drops the state saved last: the move it was saved for was not played.
void DropSavedState();
// Forgets every saved state: a new game or a set-up position starts here.
void ForgetSavedStates();
// Half-moves that can be taken back.
int SavedStateCount();
// Takes back halfMoves half-moves: pieces, side to move, castling, en
// passant, hash key, gamePly, the game history, the fifty-move count,
// bookLine and both clocks return to what they were. 0 (nothing changed)
// when fewer half-moves were played.
int TakeBack(int halfMoves);
