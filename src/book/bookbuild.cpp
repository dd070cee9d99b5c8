// Building a book of the first 30 half-moves of PGN games, and re-scoring a
// book line by line with a short search.
#include "book/bookbuild.h"

#include <cstdio>
#include <cstring>

#include "base/files.h"
#include "board/fen.h"
#include "book/book.h"
#include "moves/parsemove.h"
#include "search/hash.h"
#include "search/think.h"

int gameError = 0;
int inComment = 0;

static const size_t MAX_TOKEN = 255;
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

// Line ends for the reader below: a CR right before a LF (or before the
// end of the file) belongs to the line end.
static const int LINE_END = '\n';

static int NextChar(FILE* file) {
  int c = fgetc(file);
  if (c != '\r') return c;
  int d = fgetc(file);
  if (d == '\n' || d == EOF) return d;
  ungetc(d, file);
  return c;
}

static bool EndsLine(int c) { return c == LINE_END || c == EOF || c == 0; }

// Skips what is left of a line after c and tells whether a line feed ended
// it. A NUL byte ends the line's text: what follows it on the line is not
// read as moves.
static bool FinishLine(FILE* file, int c) {
  while (c != LINE_END && c != EOF) c = NextChar(file);
  return c == LINE_END;
}

// Hands one token to the PGN reader; a token of 255 characters or more is
// cut to its first 254 and its last character, so that a comment's closing
// brace is never cut off.
static void HandToken(char* token, size_t length, size_t fullLength, FILE* out, int* written) {
  if (fullLength >= MAX_TOKEN) {
    printf("ERROR: token>255\n");
    length = MAX_TOKEN;
  }
  token[length] = 0;
  ReadPgnToken(token);
  if (mainBoard.gamePly == BOOK_PLIES && !*written && !gameError) {
    printf("#30");
    fprintf(out, "%s\r\n", bookLine);
    *written = 1;
  }
}

// Reads a line of move text of any length from its first character c,
// token by token. Tokens are separated by blanks; a blank right before the
// line feed leaves an empty token; the last token of a line without a line
// feed (the file's last line) is announced with "Z".
static void ReadMoveText(FILE* in, int c, FILE* out, int* written) {
  char token[MAX_TOKEN + 1];
  while (c == ' ') c = NextChar(in);
  for (;;) {
    if (EndsLine(c)) {
      if (FinishLine(in, c)) printf("Error: NULL token\n");
      return;
    }
    size_t length = 0, fullLength = 0;
    while (!EndsLine(c) && c != ' ') {
      if (length < MAX_TOKEN) length++;
      token[length - 1] = (char)c;
      fullLength++;
      c = NextChar(in);
    }
    const bool lineEnded = EndsLine(c);
    const bool hadLineFeed = lineEnded && FinishLine(in, c);
    if (lineEnded && !hadLineFeed) printf("Z");
    HandToken(token, length, fullLength, out, written);
    if (lineEnded) return;
    while (c == ' ') c = NextChar(in);
  }
}

// A tag line: the event name ("[N...") is shown, and a new game starts.
static void ReadTagLine(FILE* in) {
  int c = NextChar(in);
  const bool show = c == 'N';
  if (show) printf("[");
  while (!EndsLine(c)) {
    if (show) putchar(c);
    c = NextChar(in);
  }
  if (show) printf("\n");
  FinishLine(in, c);
}

int BuildBook(const char* fileName) {
  if (strlen(fileName) > MAX_BOOK_FILE_NAME) {
    printf("Error: game file name longer than %zu characters.\n", MAX_BOOK_FILE_NAME);
    return 1;
  }
  // Only a regular file has an end: a device such as /dev/zero would be
  // read for ever, and a directory or device gives no name to write beside.
  if (RegularFileStatus(fileName) < 0) {
    printf("Error (book): %s is not a regular file.\n", fileName);
    return 1;
  }
  FILE* in = fopen(fileName, "rb");
  if (!in) {
    printf("Cannot open file %s\n", fileName);
    return 1;
  }
  char outName[MAX_BOOK_FILE_NAME + 8];
  snprintf(outName, sizeof outName, "%s.txt", fileName);
  FILE* out = IsWritableName(outName) ? fopen(outName, "wb") : nullptr;
  if (!out) {
    printf("Error: Cannot write file to file %s.\n", outName);
    fclose(in);
    return 1;
  }

  int written = 0;
  int c;
  while ((c = NextChar(in)) != EOF) {
    if (c == '[') {
      ReadTagLine(in);
      NewGame();
      written = 0;
      gameError = 0;
    } else if (c == 0) {
      FinishLine(in, c);
    } else if (c != LINE_END) {
      ReadMoveText(in, c, out, &written);
    }
  }
  const bool ok = CloseWrittenFile(out, outName);
  fclose(in);
  NewGame();
  return ok ? 0 : 1;
}

int UpgradeBook() {
  if (strlen(bookName) > MAX_UPGRADE_NAME) {
    printf("Error: book name longer than %zu characters.\n", MAX_UPGRADE_NAME);
    return 1;
  }
  // The scored lines go to a scratch file that takes the scored book's name
  // only once every line is in it: a stopped or failed upgrade leaves no
  // short book behind, and an earlier complete one stays as it was.
  char outName[BOOK_NAME_SIZE + 16];
  char partName[BOOK_NAME_SIZE + 24];
  snprintf(outName, sizeof outName, "%s.upg.txt", bookName);
  snprintf(partName, sizeof partName, "%s.part", outName);
  FILE* out = IsWritableName(outName) && IsWritableName(partName) ? fopen(partName, "wb") : nullptr;
  if (!out) {
    printf("Error: Cannot write file to upgrade book2 file %s.\n", bookName);
    return 1;
  }
  double savedBase = baseMinutes;
  int savedMoves = movesPerControl;
  int savedIncrement = increment;

  char line[256];
  int done = 0;
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
    if (quitFlag) break;  // the score of an analysis cut short is no score
    int score = mainBoard.onMove == WHITE ? bestRootScore : -bestRootScore;

    char text[300];
    snprintf(text, sizeof text, "%7d%s", score, line);
    fprintf(out, "%s\r\n", text);
    printf("%s\n\n", text);
    printf("next\n");
    done++;
  }
  baseMinutes = savedBase;
  movesPerControl = savedMoves;
  increment = savedIncrement;
  const bool written = CloseWrittenFile(out, partName);
  if (done < bookLines) {
    remove(partName);
    if (quitFlag) {
      printf("Book upgrade stopped after %d of %d lines; %s not written.\n", done, bookLines, outName);
      return 2;
    }
    printf("Error: book line %d could not be read; %s not written.\n", done, outName);
    return 1;
  }
  if (!written || rename(partName, outName) != 0) {
    if (written) printf("Error: writing %s failed.\n", outName);
    remove(partName);
    return 1;
  }
  return 0;
}
