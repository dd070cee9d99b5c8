// The text opening book: fixed-length lines of a score (7 columns) and a
// game's moves in coordinate text, found by their position in the file.
#include "book/book.h"

#include <cstdlib>
#include <cstring>

#include "board/hashkeys.h"
#include "moves/parsemove.h"
#include "search/engine.h"

FILE* bookFile = nullptr;
int bookRecordLength = 0;
int bookLines = 0;

static const int BOOK_LINE_MAX = 256;
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

int OpenBook() {
  if (strcmp(bookName, "off") == 0) {
    printf("Opening book disabled.\n");
    return 1;
  }
  // Binary mode: the record length is measured as the line stands on disk,
  // so books with CR-LF or LF line ends both seek right.
  bookFile = fopen(bookName, "rb");
  if (!bookFile) {
    printf("Cannot open book2 file %s.\n", bookName);
    return 1;
  }
  char line[BOOK_LINE_MAX];
  if (!fgets(line, sizeof line, bookFile)) {
    bookLines = 0;
  } else {
    size_t length = strlen(line);
    if (line[length - 1] != '\n' && !feof(bookFile)) {
      printf("Error: book %s has a line longer than 255 characters; book not used.\n", bookName);
      fclose(bookFile);
      bookFile = nullptr;
      return 1;
    }
    bookRecordLength = (int)length;
    long position = ftell(bookFile);
    fseek(bookFile, 0, SEEK_END);
    long size = ftell(bookFile);
    fseek(bookFile, position, SEEK_SET);
    bookLines = (int)(size / bookRecordLength);
  }
  printf("#book %s has %d lines.\n", bookName, bookLines);
  return 0;
}

void CloseBook() {
  if (bookFile) fclose(bookFile);
  bookFile = nullptr;
  bookLines = 0;
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
