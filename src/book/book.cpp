// The text opening book: fixed-length lines of a score (7 columns) and a
// game's moves in coordinate text, found by their position in the file.
#include "book/book.h"

#include <cstdlib>
#include <cstring>

#include "base/files.h"
#include "board/hashkeys.h"
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

int OpenBook() {
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

int ProbeBook() {
  if (bookLines <= 0 || !bookFile) return 0;
  char line[BOOK_LINE_MAX];
  int first = -1;
  for (int i = 0; i < bookLines; i++) {
    if (!ReadBookLine(i, line)) break;
    if (Matches(line)) {
      first = i;
      break;
    }
  }
  if (first < 0) return 0;
  int last = first;
  while (last + 1 < bookLines && ReadBookLine(last + 1, line) && Matches(line)) last++;

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
