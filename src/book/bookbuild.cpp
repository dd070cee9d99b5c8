// Building a book of the first 30 half-moves of PGN games, and re-scoring a
// book line by line with a short search.
#include "book/bookbuild.h"

#include <cstdio>
#include <cstring>

#include "board/fen.h"
#include "book/book.h"
#include "moves/parsemove.h"
#include "search/hash.h"
#include "search/think.h"

int gameError = 0;
int inComment = 0;

static const size_t MAX_TOKEN = 255;
// Longest input line taken whole; the rest of a longer line is dropped.
static const size_t MAX_PGN_LINE = 4096;
static const size_t MAX_BOOK_FILE_NAME = 239;
static const size_t MAX_UPGRADE_NAME = 71;
static const double UPGRADE_SECONDS = 0.4;

static bool StartsWith(const char* s, char c) { return s[0] == c; }
static bool EndsWith(const char* s, char c) {
  size_t n = strlen(s);
  return n > 0 && s[n - 1] == c;
}

void ReadPgnToken(const char* token) {
  if (strcmp(token, "1-0") == 0) {
    printf("white won/");
  } else if (strcmp(token, "0-1") == 0) {
    printf("black won/");
  } else if (strcmp(token, "1/2-1/2") == 0) {
    printf("drawn game/");
  } else if (StartsWith(token, '{')) {
    inComment = 1;
    if (EndsWith(token, '}')) inComment = 0;
  } else if (EndsWith(token, '}')) {
    inComment = 0;
  } else if (token[0] >= '0' && token[0] <= '9') {
    // move numbers and other results
  } else if (inComment) {
    // words of a comment
  } else {
    char text[8];
    ParseSanMove(token, mainBoard, text);
    if (!ParseUserMove(text)) {
      printf("XXX%s/", token);
      gameError = 1;
    }
  }
}

// Reads one whole line (without its line end) into line. Returns 0 at the
// end of the file; *hadLineFeed tells whether the line was ended by one.
static int ReadWholeLine(FILE* file, char* line, bool* hadLineFeed) {
  size_t length = 0;
  int c;
  bool any = false;
  *hadLineFeed = false;
  while ((c = fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') {
      *hadLineFeed = true;
      break;
    }
    if (length + 1 < MAX_PGN_LINE) line[length++] = (char)c;
  }
  if (length > 0 && line[length - 1] == '\r') length--;
  line[length] = 0;
  return any;
}

static void HandToken(const char* start, size_t length, FILE* out, int* written) {
  char token[MAX_TOKEN + 1];
  if (length >= MAX_TOKEN) {
    printf("ERROR: token>255\n");
    length = MAX_TOKEN;
  }
  memcpy(token, start, length);
  token[length] = 0;
  ReadPgnToken(token);
  if (mainBoard.gamePly == BOOK_PLIES && !*written && !gameError) {
    printf("#30");
    fprintf(out, "%s\r\n", bookLine);
    *written = 1;
  }
}

// Splits a line of move text at blanks. A blank right before the line end
// leaves an empty token; the text after the last blank of a line without a
// line feed (the file's last line) is one more token.
static void ReadMoveText(const char* line, bool hadLineFeed, FILE* out, int* written) {
  const char* p = line;
  while (*p == ' ') p++;
  for (;;) {
    const char* q = p;
    while (*q && *q != ' ') q++;
    if (*q == 0 && !hadLineFeed) {
      if (q > p) {
        printf("Z");
        HandToken(p, (size_t)(q - p), out, written);
      }
      return;
    }
    if (q == p) {
      printf("Error: NULL token\n");
      return;
    }
    HandToken(p, (size_t)(q - p), out, written);
    if (*q == 0) return;
    while (*q == ' ') q++;
    p = q;
  }
}

int BuildBook(const char* fileName) {
  if (strlen(fileName) > MAX_BOOK_FILE_NAME) {
    printf("Error: game file name longer than %zu characters.\n", MAX_BOOK_FILE_NAME);
    return 1;
  }
  FILE* in = fopen(fileName, "rb");
  if (!in) {
    printf("Cannot open file %s\n", fileName);
    return 1;
  }
  char outName[MAX_BOOK_FILE_NAME + 8];
  snprintf(outName, sizeof outName, "%s.txt", fileName);
  FILE* out = fopen(outName, "wb");
  if (!out) {
    printf("Error: Cannot write file to file %s.\n", outName);
    fclose(in);
    return 1;
  }

  static char line[MAX_PGN_LINE];
  bool hadLineFeed;
  int written = 0;
  while (ReadWholeLine(in, line, &hadLineFeed)) {
    if (line[0] == '[') {
      if (line[1] == 'N') printf("%s\n", line);
      NewGame();
      written = 0;
      gameError = 0;
    } else if (line[0] != 0) {
      ReadMoveText(line, hadLineFeed, out, &written);
    }
  }
  fclose(out);
  fclose(in);
  NewGame();
  return 0;
}

int UpgradeBook() {
  if (strlen(bookName) > MAX_UPGRADE_NAME) {
    printf("Error: book name longer than %zu characters.\n", MAX_UPGRADE_NAME);
    return 1;
  }
  char outName[BOOK_NAME_SIZE + 16];
  snprintf(outName, sizeof outName, "%s.upg.txt", bookName);
  FILE* out = fopen(outName, "wb");
  if (!out) {
    printf("Error: Cannot write file to upgrade book2 file %s.\n", bookName);
    return 1;
  }
  double savedBase = baseMinutes;
  int savedMoves = movesPerControl;
  int savedIncrement = increment;

  char line[256];
  // "quit" arriving during one of the analyses ends the upgrade.
  for (int i = 0; i < bookLines && bookFile && !quitFlag; i++) {
    if (fseek(bookFile, (long)i * bookRecordLength, SEEK_SET) != 0) break;
    if (!fgets(line, sizeof line, bookFile)) break;
    size_t length = strlen(line);
    while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = 0;
    printf("i=%d %s\n\n", i, line);

    ReadFen("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", mainBoard);
    bookLine[0] = 0;
    mainBoard.gamePly = 3;
    // Four characters a move; a promotion's letter stops the replay.
    for (size_t at = 0; at + 4 <= length; at += 4) {
      char move[5] = {line[at], line[at + 1], line[at + 2], line[at + 3], 0};
      if (!ParseUserMove(move)) break;
    }
    DisplayBoard(mainBoard, 1);

    comptime = UPGRADE_SECONDS;
    ClearHashTable();
    ClearHistoryAndKillers();
    SearchLimits limits = {};
    limits.mode = THINK_ANALYSE;
    limits.adjudicate = 1;
    SearchPosition(limits);
    int score = mainBoard.onMove == WHITE ? bestRootScore : -bestRootScore;

    char text[300];
    snprintf(text, sizeof text, "%7d%s", score, line);
    fprintf(out, "%s\r\n", text);
    printf("%s\n\n", text);
    printf("next\n");
  }
  fclose(out);
  baseMinutes = savedBase;
  movesPerControl = savedMoves;
  increment = savedIncrement;
  return 0;
}
