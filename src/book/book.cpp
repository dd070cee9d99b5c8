// The opening book. A text book has fixed-length lines of a score (7
// columns) and a game's moves in coordinate text, found by their position in
// the file; a book named *.bin is a Polyglot book (book/polyglot.h).
#include "book/book.h"

#include <cstdlib>
#include <cstring>

#include "base/files.h"
#include "board/hashkeys.h"
#include "book/polyglot.h"
#include "moves/movetext.h"
#include "moves/parsemove.h"
#include "search/engine.h"

FILE* bookFile = nullptr;
int bookRecordLength = 0;
int bookLines = 0;

// A line holds at most 255 characters before its line end.
static const int MAX_BOOK_TEXT = 255;
// Room to read such a line with a CR-LF end and the terminator.
static const int BOOK_LINE_MAX = MAX_BOOK_TEXT + 3;
static const int SCORE_COLUMNS = 7;

// Drops a carriage return before the line feed, so console lines carry none.
static void DropCarriageReturn(char* line) {
  size_t n = strlen(line);
  if (n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n') {
    line[n - 2] = '\n';
    line[n - 1] = 0;
  } else if (n >= 1 && line[n - 1] == '\r') {
    line[n - 1] = 0;
  }
}

static bool ReadBookLine(int i, char* line) {
  if (fseek(bookFile, (long)i * bookRecordLength, SEEK_SET) != 0) return false;
  if (!fgets(line, BOOK_LINE_MAX, bookFile)) return false;
  DropCarriageReturn(line);
  return true;
}

static const char* MovesOf(const char* line) {
  return strlen(line) >= (size_t)SCORE_COLUMNS ? line + SCORE_COLUMNS : "";
}

static bool Matches(const char* line) {
  return strncmp(MovesOf(line), bookLine, strlen(bookLine)) == 0;
}

// Why a book file cannot be used, as one line; "" when it can. A book is
// usable when it holds at least one line, every line has the length of the
// first (line end included; the last line may lack its line end), no line
// is longer than 255 characters and no byte is NUL. Sets the record length
// and the line count.
static const char* CheckBookShape(FILE* file, int* recordLength, int* lines, char* detail, size_t size) {
  char chunk[65536];
  long lineStart = 0, offset = 0;
  int length = -1;
  int count = 0;
  size_t got;
  char previous = 0;
  while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) {
    for (size_t i = 0; i < got; i++, offset++) {
      const char c = chunk[i];
      if (c == 0) {
        snprintf(detail, size, "a NUL byte in line %d", count + 1);
        return detail;
      }
      const char before = previous;
      previous = c;
      if (c != '\n') continue;
      const long lineLength = offset + 1 - lineStart;
      if (length < 0) {
        const long text = lineLength - 1 - (lineLength >= 2 && before == '\r' ? 1 : 0);
        if (text > MAX_BOOK_TEXT) return "a line longer than 255 characters";
        length = (int)lineLength;
      } else if (lineLength != length) {
        snprintf(detail, size, "line %d of %ld bytes where line 1 has %d", count + 1, lineLength, length);
        return detail;
      }
      count++;
      lineStart = offset + 1;
    }
  }
  if (ferror(file)) return "a read error";
  const long rest = offset - lineStart;
  if (length < 0) {
    // One line without a line end is the whole book.
    if (rest == 0) return "no lines";
    if (rest > MAX_BOOK_TEXT) return "a line longer than 255 characters";
    length = (int)rest + 1;
    count = 1;
  } else if (rest > 0) {
    // The last line may lack its line end, but not be longer or shorter.
    const long missing = length - rest;
    if (missing < 1 || missing > 2) {
      snprintf(detail, size, "line %d of %ld bytes where line 1 has %d", count + 1, rest, length);
      return detail;
    }
    count++;
  }
  *recordLength = length;
  *lines = count;
  return "";
}

void CloseBook() {
  if (bookFile) fclose(bookFile);
  bookFile = nullptr;
  bookRecordLength = 0;
  bookLines = 0;
  ClosePolyglotBook(polyglotBook);
}

int OpenBook() {
  CloseBook();
  if (strcmp(bookName, "off") == 0) {
    printf("Opening book disabled.\n");
    return 1;
  }
  bookLines = 0;
  if (RegularFileStatus(bookName) < 0) {
    printf("Error: book %s is not a regular file; book not used.\n", bookName);
    return 1;
  }
  // Binary mode: the record length is measured as the line stands on disk,
  // so books with CR-LF or LF line ends both seek right.
  bookFile = fopen(bookName, "rb");
  if (!bookFile) {
    printf("Cannot open book2 file %s.\n", bookName);
    return 1;
  }
  if (IsPolyglotName(bookName)) {
    FILE* file = bookFile;
    bookFile = nullptr;
    return OpenPolyglotBook(file, bookName, polyglotBook);
  }
  char detail[96];
  int recordLength = 0, lines = 0;
  const char* problem = CheckBookShape(bookFile, &recordLength, &lines, detail, sizeof detail);
  if (problem[0] != 0) {
    printf("Error: book %s has %s; book not used.\n", bookName, problem);
    fclose(bookFile);
    bookFile = nullptr;
    return 1;
  }
  bookRecordLength = recordLength;
  bookLines = lines;
  printf("#book %s has %d lines.\n", bookName, bookLines);
  return 0;
}

// Plays a move of the Polyglot book for mainBoard, drawn in proportion to
// the weights.
static int ProbePolyglotBook() {
  Move moves[POLYGLOT_MAX_MOVES];
  int weights[POLYGLOT_MAX_MOVES];
  int count = PolyglotBookMoves(polyglotBook, mainBoard, moves, weights, POLYGLOT_MAX_MOVES);
  if (count == 0) return 0;
  int chosen = ChooseByWeight(weights, count, Random32());
  if (chosen < 0) return 0;
  int total = 0;
  for (int i = 0; i < count; i++) total += weights[i];
  char text[8];
  MoveToText(moves[chosen], text);
  printf("# book move %s, weight %d of %d\n", text, weights[chosen], total);
  if (!ParseUserMove(text)) return 0;
  printf("move %s\n", text);
  return 1;
}

// The first run of text book lines that continue the game: lines first to
// last. False when no line does.
static bool FindTextBookRun(int& first, int& last) {
  if (bookLines <= 0 || !bookFile) return false;
  char line[BOOK_LINE_MAX];
  first = -1;
  for (int i = 0; i < bookLines; i++) {
    if (!ReadBookLine(i, line)) break;
    if (Matches(line)) {
      first = i;
      break;
    }
  }
  if (first < 0) return false;
  last = first;
  while (last + 1 < bookLines && ReadBookLine(last + 1, line) && Matches(line)) last++;
  return true;
}

int ProbeBook() {
  if (polyglotBook.file) return ProbePolyglotBook();
  int first, last;
  if (!FindTextBookRun(first, last)) return 0;
  char line[BOOK_LINE_MAX];

  uint32_t r = Random32();
  int chosen = first + (int)(r % (uint32_t)(last - first + 1));
  if (!ReadBookLine(chosen, line)) return 0;
  printf("matches on lines %d to %d. chose %d\n", first, last, chosen);
  char score[SCORE_COLUMNS + 1];
  strncpy(score, line, SCORE_COLUMNS);
  score[SCORE_COLUMNS] = 0;
  const char* moves = MovesOf(line);
  printf("Book line: %d %s\n", atoi(score), moves);
  size_t played = strlen(bookLine);
  const char* rest = strlen(moves) >= played ? moves + played : "";
  printf("Next move: %s\n", rest);

  if (!ParseUserMove(rest)) return 0;
  printf("move %s\n", bookLine + played);
  return 1;
}

// The next move of a text book line after the game so far: four square
// characters, and the promotion letter when a pawn of mainBoard reaches the
// last rank (the following move's file letter could look like one).
static bool NextTextMove(const char* moves, char* text) {
  size_t played = strlen(bookLine);
  if (strlen(moves) < played + 4) return false;
  const char* rest = moves + played;
  for (int i = 0; i < 4; i++) {
    bool square = i % 2 == 0 ? rest[i] >= 'a' && rest[i] <= 'h' : rest[i] >= '1' && rest[i] <= '8';
    if (!square) return false;
  }
  memcpy(text, rest, 4);
  text[4] = 0;
  int from = 8 * (rest[1] - '1') + ('h' - rest[0]);
  bool promotes = (mainBoard.mailbox[from] == WPAWN && rest[3] == '8') ||
                  (mainBoard.mailbox[from] == BPAWN && rest[3] == '1');
  if (promotes && rest[4] && strchr("qrbn", rest[4])) {
    text[4] = rest[4];
    text[5] = 0;
  }
  return true;
}

// Adds weight to the row of move text, making a new row when needed.
static int AddBookRow(BookMoveRow* rows, int count, int max, const char* text, int weight) {
  int row = 0;
  while (row < count && strcmp(rows[row].move, text) != 0) row++;
  if (row == count) {
    if (count == max) return count;
    strcpy(rows[count].move, text);
    rows[count].weight = 0;
    count++;
  }
  rows[row].weight += weight;
  return count;
}

int ListBookMoves(BookMoveRow* rows, int max) {
  int count = 0;
  if (polyglotBook.file) {
    Move moves[POLYGLOT_MAX_MOVES];
    int weights[POLYGLOT_MAX_MOVES];
    int n = PolyglotBookMoves(polyglotBook, mainBoard, moves, weights, POLYGLOT_MAX_MOVES);
    for (int i = 0; i < n; i++) {
      char text[8];
      MoveToText(moves[i], text);
      count = AddBookRow(rows, count, max, text, weights[i]);
    }
  } else {
    int first, last;
    if (FindTextBookRun(first, last)) {
      char line[BOOK_LINE_MAX];
      char text[8];
      for (int i = first; i <= last; i++)
        if (ReadBookLine(i, line) && NextTextMove(MovesOf(line), text)) count = AddBookRow(rows, count, max, text, 1);
    }
  }
  int total = 0;
  for (int i = 0; i < count; i++) total += rows[i].weight;
  for (int i = 0; i < count; i++) rows[i].percent = 100.0 * rows[i].weight / total;
  // Most weight first; equal weights keep the book's order.
  for (int i = 1; i < count; i++)
    for (int j = i; j > 0 && rows[j].weight > rows[j - 1].weight; j--) {
      BookMoveRow swap = rows[j];
      rows[j] = rows[j - 1];
      rows[j - 1] = swap;
    }
  return count;
}
