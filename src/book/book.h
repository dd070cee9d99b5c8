// The text opening book.
// Book layer: uses the base, board, moves, search and book layers.
#pragma once

#include <cstdio>

// The book covers the first 30 half-moves of a game: the builder keeps
// that many, and play asks the book only below that ply.
constexpr int BOOK_PLIES = 30;

extern FILE* bookFile;
extern int bookRecordLength;
extern int bookLines;

int OpenBook();
// Closes the book file; the engine then plays without a book.
void CloseBook();
int ProbeBook();

// One move the book knows for the game's position and its weight: the
// number of book lines that play it.
struct BookMoveRow {
  char move[8];  // coordinate text
  int weight;
};
// The book's legal moves after the game's moves so far (bookLine), in book
// order, at most max of them. Returns how many.
int ListBookMoves(BookMoveRow* rows, int max);
