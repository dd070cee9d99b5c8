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
// Closes the open book; the engine plays without one until OpenBook.
void CloseBook();
int ProbeBook();
