// The opening book: the engine's text book and Polyglot books.
// Book layer: uses the base, board, moves, search and book layers.
#pragma once

#include <cstdio>

// The book covers the first 30 half-moves of a game: the builder keeps
// that many, and play asks the book only below that ply.
constexpr int BOOK_PLIES = 30;

extern FILE* bookFile;
extern int bookRecordLength;
extern int bookLines;

// Opens the book named by bookName: a Polyglot book when the name ends in
// ".bin", the text book otherwise. 0 when a book is open.
int OpenBook();
// Closes the open book of either kind; OpenBook does so first, so a new book
// name can be opened while the engine runs.
void CloseBook();
// Plays a book move on mainBoard and prints "move ..."; 1 when it did.
int ProbeBook();

// One book move for the current game: its coordinate text, its weight (the
// Polyglot weight, or the number of text book lines that continue with it)
// and its share of all the rows' weight in percent.
struct BookMoveRow {
  char move[8];
  int weight;
  double percent;
};
constexpr int BOOK_ROWS_MAX = 128;

// The moves the book offers in the current game (mainBoard, and bookLine for
// the text book), most weight first, at most max rows. The count, 0 when the
// book has nothing or there is no book. The game length is not checked: the
// rows say what the book holds, whether or not play would still use it.
int ListBookMoves(BookMoveRow* rows, int max);
