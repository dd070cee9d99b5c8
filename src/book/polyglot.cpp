// Polyglot books: the position key, entry decoding, the file check at
// start-up and the probe by binary search over the file.
#include "book/polyglot.h"

#include <cstring>
#include <strings.h>

#include "board/movegen.h"

PolyglotBook polyglotBook = {nullptr, 0};

static const int RANDOM_CASTLE = 768;
static const int RANDOM_EN_PASSANT = 772;
static const int RANDOM_TURN = 780;

// The key's files count from the a-file, the board's from the h-file.
static int KeyFile(int square) { return 7 - (square & 7); }

// Piece kinds of the key: black pawn 0, white pawn 1, black knight 2, ...
// white king 11.
static int KeyPieceKind(int piece) {
  int order = 0;
  switch (piece & 15) {
    case PAWN: order = 0; break;
    case KNIGHT: order = 1; break;
    case BISHOP: order = 2; break;
    case ROOK: order = 3; break;
    case QUEEN: order = 4; break;
    case KING: order = 5; break;
    default: return -1;
  }
  return 2 * order + ((piece & 16) ? 0 : 1);
}

bool IsPolyglotName(const char* name) {
  size_t n = strlen(name);
  return n > 4 && strcasecmp(name + n - 4, ".bin") == 0;
}

u64 PolyglotKey(const Board& board) {
  u64 key = 0;
  for (int s = 0; s < 64; s++) {
    int kind = board.mailbox[s] ? KeyPieceKind(board.mailbox[s]) : -1;
    if (kind >= 0) key ^= polyglotRandom[64 * kind + 8 * (s >> 3) + KeyFile(s)];
  }
  static const int rights[4] = {CASTLE_WK, CASTLE_WQ, CASTLE_BK, CASTLE_BQ};
  for (int i = 0; i < 4; i++)
    if (board.castleStat & rights[i]) key ^= polyglotRandom[RANDOM_CASTLE + i];
  // The en passant file counts only when a pawn of the side to move stands
  // beside the pawn that has just advanced two squares.
  if (board.castleStat & EP_FLAG) {
    int fileIndex = (board.castleStat >> 4) & 7;
    int row = board.onMove == WHITE ? 4 : 3;
    int ownPawn = board.onMove == WHITE ? WPAWN : BPAWN;
    bool beside = (fileIndex > 0 && board.mailbox[8 * row + fileIndex - 1] == ownPawn) ||
                  (fileIndex < 7 && board.mailbox[8 * row + fileIndex + 1] == ownPawn);
    if (beside) key ^= polyglotRandom[RANDOM_EN_PASSANT + 7 - fileIndex];
  }
  if (board.onMove == WHITE) key ^= polyglotRandom[RANDOM_TURN];
  return key;
}

PolyglotEntry DecodePolyglotEntry(const unsigned char* bytes) {
  PolyglotEntry entry;
  entry.key = 0;
  for (int i = 0; i < 8; i++) entry.key = (entry.key << 8) | bytes[i];
  entry.move = (uint16_t)((bytes[8] << 8) | bytes[9]);
  entry.weight = (uint16_t)((bytes[10] << 8) | bytes[11]);
  entry.learn = ((uint32_t)bytes[12] << 24) | ((uint32_t)bytes[13] << 16) | ((uint32_t)bytes[14] << 8) | bytes[15];
  return entry;
}

Move PolyglotMove(const Board& board, uint16_t move) {
  static const int promotionTypes[5] = {0, KNIGHT, BISHOP, ROOK, QUEEN};
  int to = 8 * ((move >> 3) & 7) + 7 - (move & 7);
  int from = 8 * ((move >> 9) & 7) + 7 - ((move >> 6) & 7);
  int promotion = (move >> 12) & 7;
  if (promotion > 4) return 0;
  // A king on its start square "taking" the rook in the corner of its own
  // rank is castling; the engine's castling move goes two squares.
  int piece = board.mailbox[from];
  if ((piece == WKING && from == 3) || (piece == BKING && from == 59)) {
    if (to == from - 3) to = from - 2;
    else if (to == from + 4) to = from + 2;
  }
  Move list[MOVE_LIST_SIZE];
  int count = GenerateMoves(board, list);
  for (int i = 0; i < count; i++) {
    Move m = list[i];
    if (MoveFrom(m) != from || MoveTo(m) != to) continue;
    int special = MoveSpecial(m);
    bool promotes = special != 0 && special < CASTLE_KINGSIDE;
    if (promotion == 0 ? !promotes : promotes && (special & 15) == promotionTypes[promotion]) return m;
  }
  return 0;
}

static bool ReadEntryAt(const PolyglotBook& book, long index, PolyglotEntry& entry) {
  unsigned char bytes[POLYGLOT_ENTRY_SIZE];
  if (fseek(book.file, index * POLYGLOT_ENTRY_SIZE, SEEK_SET) != 0) return false;
  if (fread(bytes, 1, sizeof bytes, book.file) != sizeof bytes) return false;
  entry = DecodePolyglotEntry(bytes);
  return true;
}

long FindPolyglotKey(const PolyglotBook& book, u64 key) {
  if (!book.file) return -1;
  long low = 0, high = book.entries;
  PolyglotEntry entry;
  while (low < high) {
    long middle = low + (high - low) / 2;
    if (!ReadEntryAt(book, middle, entry)) return -1;
    if (entry.key < key) low = middle + 1;
    else high = middle;
  }
  if (low >= book.entries || !ReadEntryAt(book, low, entry) || entry.key != key) return -1;
  return low;
}

int PolyglotBookMoves(const PolyglotBook& book, const Board& board, Move* moves, int* weights, int max) {
  u64 key = PolyglotKey(board);
  long first = FindPolyglotKey(book, key);
  if (first < 0) return 0;
  int count = 0;
  PolyglotEntry entry;
  for (long i = first; i < book.entries && i - first < POLYGLOT_MAX_MOVES; i++) {
    if (!ReadEntryAt(book, i, entry) || entry.key != key) break;
    if (entry.weight == 0) continue;
    Move m = PolyglotMove(board, entry.move);
    if (m == 0) continue;
    int row = 0;
    while (row < count && moves[row] != m) row++;
    if (row == count) {
      if (count == max) continue;
      moves[count] = m;
      weights[count] = 0;
      count++;
    }
    weights[row] += entry.weight;
  }
  return count;
}

int ChooseByWeight(const int* weights, int count, uint32_t r) {
  uint32_t total = 0;
  for (int i = 0; i < count; i++) total += (uint32_t)weights[i];
  if (total == 0) return -1;
  uint32_t pick = r % total;
  for (int i = 0; i < count; i++) {
    if (pick < (uint32_t)weights[i]) return i;
    pick -= (uint32_t)weights[i];
  }
  return -1;
}

// A text book starts with letters, digits, blanks and line ends; the key of
// a Polyglot book's first entry is a random number and practically never
// printable.
static bool LooksLikeText(const unsigned char* bytes, size_t n) {
  for (size_t i = 0; i < n; i++) {
    unsigned char c = bytes[i];
    if (!(c == '\t' || c == '\r' || c == '\n' || (c >= 0x20 && c < 0x7F))) return false;
  }
  return true;
}

// Reads the whole file once, in blocks, to check that the keys never go
// down. Returns the index of the first entry out of order, 0 when sorted,
// -1 on a read error.
static long FirstUnsortedEntry(FILE* file, long entries) {
  static const int BLOCK_ENTRIES = 4096;
  static unsigned char block[BLOCK_ENTRIES * POLYGLOT_ENTRY_SIZE];
  if (fseek(file, 0, SEEK_SET) != 0) return -1;
  u64 previous = 0;
  for (long done = 0; done < entries;) {
    long n = entries - done < BLOCK_ENTRIES ? entries - done : BLOCK_ENTRIES;
    if (fread(block, POLYGLOT_ENTRY_SIZE, (size_t)n, file) != (size_t)n) return -1;
    for (long i = 0; i < n; i++) {
      u64 key = DecodePolyglotEntry(block + i * POLYGLOT_ENTRY_SIZE).key;
      if (key < previous) return done + i;
      previous = key;
    }
    done += n;
  }
  return 0;
}

int OpenPolyglotBook(FILE* file, const char* name, PolyglotBook& book) {
  book.file = nullptr;
  book.entries = 0;
  if (!file) {
    printf("Cannot open book2 file %s.\n", name);
    return 1;
  }
  long size = -1;
  if (fseek(file, 0, SEEK_END) == 0) size = ftell(file);
  unsigned char start[64];
  size_t got = 0;
  if (size > 0 && fseek(file, 0, SEEK_SET) == 0) got = fread(start, 1, sizeof start, file);
  long unsorted = 0;
  if (size < 0 || (size > 0 && got == 0)) {
    printf("Error: book %s cannot be read; book not used.\n", name);
  } else if (size == 0) {
    printf("Error: book %s is empty; book not used.\n", name);
  } else if (LooksLikeText(start, got)) {
    printf("Error: book %s is a text file, not a Polyglot book; book not used.\n", name);
  } else if (size % POLYGLOT_ENTRY_SIZE != 0) {
    printf("Error: book %s is not a Polyglot book (%ld bytes, not a whole number of %d-byte entries); "
           "book not used.\n", name, size, POLYGLOT_ENTRY_SIZE);
  } else if ((unsorted = FirstUnsortedEntry(file, size / POLYGLOT_ENTRY_SIZE)) != 0) {
    if (unsorted < 0) printf("Error: book %s cannot be read; book not used.\n", name);
    else printf("Error: book %s is not a Polyglot book (entry %ld is out of key order); book not used.\n",
                name, unsorted);
  } else {
    book.file = file;
    book.entries = size / POLYGLOT_ENTRY_SIZE;
    printf("#book %s has %ld Polyglot entries.\n", name, book.entries);
    return 0;
  }
  fclose(file);
  return 1;
}

void ClosePolyglotBook(PolyglotBook& book) {
  if (book.file) fclose(book.file);
  book.file = nullptr;
  book.entries = 0;
}
