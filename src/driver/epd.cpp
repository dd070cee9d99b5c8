// EPD positions with their operations (id, bm, sd), and the test-suite
// runner.
#include "driver/epd.h"

#include <cstdio>
#include <cstring>

#include "base/files.h"
#include "base/output.h"
#include "base/words.h"
#include "board/fen.h"
#include "driver/play.h"
#include "moves/movetext.h"
#include "moves/parsemove.h"
#include "search/think.h"

constexpr int OPCODE_SIZE = 64;
static const int MAX_OPERATION = 255;
constexpr int EPD_FILE_NAME_SIZE = 64;

char epdId[EPD_ID_SIZE];
char epdBm[EPD_BM_SIZE];
char epdBm2[EPD_BM_SIZE];

void ParseEpdOp(const char* op) {
  char opcode[OPCODE_SIZE];
  const char* rest = NextWord(op, opcode, sizeof(opcode));

  if (strcmp(opcode, "id") == 0) {
    NextWord(rest, epdId, sizeof(epdId));
    printf("parsed: id=%s\n", epdId);
  } else if (strcmp(opcode, "bm") == 0) {
    // Moves longer than 7 characters are cut to fit.
    rest = NextWord(rest, epdBm, sizeof(epdBm));
    printf("parsed: bm=%s\n", epdBm);
    char second[EPD_BM_SIZE];
    NextWord(rest, second, sizeof(second));
    if (second[0] != 0) {
      memcpy(epdBm2, second, sizeof(epdBm2));
      printf("parsed: bm=%s\n", epdBm2);
    }
  } else if (strcmp(opcode, "sd") == 0) {
    char depth[OPCODE_SIZE];
    NextWord(rest, depth, sizeof(depth));
    fixedDepth = (int)ClampArgument(ToInt(depth), 0, MAX_SEARCH_DEPTH, "sd");
    printf("searchDepth set at %d\n", fixedDepth);
  } else {
    printf("not parsed:%s\n", op);
  }
}

static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Hands one operation of an EPD tail to the operation parser, after the
// length and emptiness checks.
static void HandOperation(const char* start, size_t length) {
  char op[MAX_OPERATION + 1];
  if (length >= (size_t)MAX_OPERATION) {
    printf("ERROR: token>255\n");
    length = MAX_OPERATION;
  }
  memcpy(op, start, length);
  op[length] = 0;
  if (length <= 1) {
    printf("Error: NULL token\n");
    return;
  }
  ParseEpdOp(op);
}

// The EPD tail after the position fields is cut at each ';' into
// operations. An operation starts at its first non-blank character, which is
// never taken as its own terminator, so a bare ";;" makes one empty
// operation, not two.
void ReadEpdOperations(const char* p) {
  for (;;) {
    while (IsSpace(*p)) p++;
    if (*p == 0) return;
    const char* semicolon = strchr(p + 1, ';');
    if (!semicolon) break;
    const char* end = semicolon;
    while (end > p && IsSpace(end[-1])) end--;
    HandOperation(p, (size_t)(end - p));
    p = semicolon + 1;
  }
  // The text after the last ';' is one more operation when it holds more
  // than one character; the line end is not part of it.
  size_t length = strlen(p);
  while (length > 0 && IsSpace(p[length - 1])) length--;
  if (length > 1) HandOperation(p, length);
}

const char* ReadEpdPosition(const char* text, Board& board) {
  const char* rest = ReadFen(text, board);
  if (rest) ReadEpdOperations(rest);
  return rest;
}

// Longest EPD line taken; longer lines are refused with a message.
static const size_t MAX_EPD_LINE = 1023;
static const int GAME_PLY_RESET = 700;

// Reads one line with its line feed (a CR before it dropped) into line of
// MAX_EPD_LINE + 2 bytes. Returns 0 at the end of the file, -1 for a line
// that was too long (the rest of it is skipped).
static int ReadEpdLine(FILE* file, char* line) {
  // One character more than a line may hold, so that the CR of a CR-LF end
  // is dropped before the length is judged.
  char text[MAX_EPD_LINE + 1];
  size_t length = 0;
  int c;
  bool any = false, tooLong = false;
  while ((c = fgetc(file)) != EOF) {
    any = true;
    if (c == '\n') break;
    if (length < sizeof text) text[length++] = (char)c;
    else tooLong = true;
  }
  if (!any) return 0;
  if (!tooLong && length > 0 && text[length - 1] == '\r') length--;
  if (tooLong || length > MAX_EPD_LINE) return -1;
  memcpy(line, text, length);
  line[length++] = '\n';
  line[length] = 0;
  return 1;
}

int RunEpd(const char* fileName, double seconds) {
  // Only a regular file has an end: a device such as /dev/zero would be
  // read for ever, and a directory or device gives no name to write beside.
  if (RegularFileStatus(fileName) < 0) {
    Output(OUT_CONSOLE | OUT_LOG, "Error (epdscore): %s is not a regular file.\n", fileName);
    return 1;
  }
  FILE* suite = fopen(fileName, "rb");
  if (!suite) {
    Output(OUT_CONSOLE | OUT_LOG, "Cannot open EPD file.\n");
    return 1;
  }
  char analysisName[EPD_FILE_NAME_SIZE + 8];
  snprintf(analysisName, sizeof analysisName, "%s.ban", fileName);
  epdLogFile = IsWritableName(analysisName) ? fopen(analysisName, "wb") : nullptr;
  if (!epdLogFile) {
    printf("Cannot create log file.\n");
    fclose(suite);
    return 1;
  }
  Output(OUT_CONSOLE | OUT_LOG | OUT_EPD, "analysis file: %s   time: %5.2f sec\n", analysisName, seconds);
  inSearch = 1;
  mainBoard.gamePly = 3;
  // The depth set before the run holds for every line without an "sd".
  const int runDepth = fixedDepth;
  int searched = 0;

  char line[MAX_EPD_LINE + 2];
  int status;
  // "quit" arriving during one of the analyses ends the run.
  while (!quitFlag && (status = ReadEpdLine(suite, line)) != 0) {
    if (mainBoard.gamePly > GAME_PLY_RESET) mainBoard.gamePly = 3;
    if (status < 0) {
      Output(OUT_CONSOLE | OUT_LOG, "Error: EPD line longer than %zu characters skipped.\n", MAX_EPD_LINE);
      continue;
    }
    // A line of one character (its line end aside) is no position.
    if (strlen(line) <= 2) continue;
    Output(OUT_CONSOLE | OUT_LOG, "\n%s", line);
    // Each line brings its own id, best move and depth: a line without
    // them must not inherit those of the line before.
    epdId[0] = epdBm[0] = epdBm2[0] = 0;
    fixedDepth = runDepth;
    if (!ReadEpdPosition(line, mainBoard)) {
      Output(OUT_CONSOLE | OUT_LOG, "Error: EPD line is not a position; skipped.\n");
      continue;
    }
    char translated[8] = "";
    if (epdBm[0] != 0) ParseSanMove(epdBm, mainBoard, translated);
    comptime = seconds;
    ClearSearchMemory();
    Think(THINK_ANALYSE);
    // An analysis cut short by "quit" is no result.
    if (quitFlag) break;
    Output(OUT_CONSOLE | OUT_LOG | OUT_EPD, "%s %8s %8s %2d %6d %10.2lf %10d ebf=%5.1lf ", epdId, epdBm,
           translated, solutionDepth, bestRootScore, solutionTime, (int)solutionNodes, effectiveBranching);
    char text[8];
    for (int i = 0; i < solutionLine.count && i < MAX_LINE; i++) {
      MoveToText(solutionLine.moves[i], text);
      Output(OUT_CONSOLE | OUT_LOG | OUT_EPD, "%s ", text);
    }
    Output(OUT_CONSOLE | OUT_LOG | OUT_EPD, "\n");
    mainBoard.gamePly++;
    searched++;
  }
  fixedDepth = runDepth;
  if (quitFlag)
    Output(OUT_CONSOLE | OUT_LOG | OUT_EPD, "EPD run stopped after %d positions.\n", searched);
  FILE* analysis = epdLogFile;
  epdLogFile = nullptr;
  CloseWrittenFile(analysis, analysisName);
  fclose(suite);
  if (!quitFlag) Output(OUT_CONSOLE | OUT_LOG, "Done EPD\n");
  inSearch = 0;
  return 0;
}
