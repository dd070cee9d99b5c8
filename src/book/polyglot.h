// Polyglot opening books: the binary book format shared by chess GUIs and
// engines. A book is a file of 16-byte entries (key, move, weight, learn,
// all stored highest byte first) sorted by a 64-bit key of the position.
// The file stays on disk; a probe finds a key by binary search over it.
// Book layer: uses the base, board, moves, search and book layers.
#pragma once

#include <cstdint>
#include <cstdio>

#include "board/board.h"

constexpr int POLYGLOT_RANDOM_COUNT = 781;
constexpr int POLYGLOT_ENTRY_SIZE = 16;
// Entries read for one position at most; a book position has far fewer.
constexpr int POLYGLOT_MAX_MOVES = 128;

// The published random numbers behind the key (polyglotkeys.cpp).
extern const u64 polyglotRandom[POLYGLOT_RANDOM_COUNT];

struct PolyglotEntry {
  u64 key;
  uint16_t move;    // to file, to row, from file, from row (3 bits each), promotion
  uint16_t weight;  // relative frequency; 0 means never play
  uint32_t learn;
};

// An open book: the file and its number of entries.
struct PolyglotBook {
  FILE* file;
  long entries;
};

// The book of this run (file null when the book is not a Polyglot book).
extern PolyglotBook polyglotBook;

// True when the file name marks a Polyglot book: it ends in ".bin" (any case).
bool IsPolyglotName(const char* name);

// Takes over an open file named name (null when it could not be opened):
// checks that it holds a Polyglot book and prints one line saying what it
// found. Returns 0 with book set when it
// is one; otherwise closes the file, leaves book empty and returns 1.
int OpenPolyglotBook(FILE* file, const char* name, PolyglotBook& book);
void ClosePolyglotBook(PolyglotBook& book);

// The Polyglot key of a position.
u64 PolyglotKey(const Board& board);

// One entry from its 16 bytes on disk.
PolyglotEntry DecodePolyglotEntry(const unsigned char* bytes);

// The legal move of board that an entry's move field names, or 0 when it
// names none. Castling is stored as the king taking its own rook (e1h1).
Move PolyglotMove(const Board& board, uint16_t move);

// Index of the first entry with key, or -1 when the book has none.
long FindPolyglotKey(const PolyglotBook& book, u64 key);

// The legal moves the book gives for board with weight above 0, at most max:
// fills moves and weights (one row per move, weights of repeated entries
// added) and returns the count.
int PolyglotBookMoves(const PolyglotBook& book, const Board& board, Move* moves, int* weights, int max);

// Index of a row chosen in proportion to its weight by the random number r,
// or -1 when the weights add up to 0.
int ChooseByWeight(const int* weights, int count, uint32_t r);
