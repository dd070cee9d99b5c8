// Console commands for a person testing and analysing the engine.
#include "driver/diagnostics.h"

#include <cstdlib>
#include <cstring>

#include "board/fen.h"
#include "book/bookbuild.h"
#include "driver/config.h"
#include "driver/engine.h"
#include "driver/epd.h"
#include "moves/movetext.h"
#include "search/eval.h"
#include "search/hash.h"

// line is the whole command line without its line end.
typedef void (*DiagnosticAction)(const char* line);

struct DiagnosticRow {
  const char* word;
  DiagnosticAction action;
};

constexpr int FILE_NAME_SIZE = 64;  // 63 characters and the terminator
constexpr int NUMBER_SIZE = 15;

static void CommandDisplay(const char*) { DisplayBoard(mainBoard, 1); }

// The n-th word after the command word, cut to size - 1 characters.
// Returns the length the word really had.
static size_t WordAfterCommand(const char* line, int n, char* word, int size) {
  const char* p = NextWord(line, word, size);
  for (int i = 0; i <= n; i++) {
    while (*p == ' ' || *p == '\t') p++;
    const char* start = p;
    p = NextWord(p, word, size);
    if (i == n) return (size_t)(p - start);
  }
  return 0;
}

static void CommandEval(const char*) { printf("#Position's score is %d\n", Evaluate(mainBoard, 0)); }

static void CommandHistory(const char*) {
  for (int i = 0; i < mainBoard.gamePly && i < GAME_HISTORY_SIZE; i++) {
    printf("move %d, ", i);
    PrintMove(OUT_CONSOLE, gameHistory[i].move);
    printf(" score: %d\n", gameHistory[i].score);
  }
}

static void CommandStatus(const char*) {
  printf("inSearch=%d endSearch=%d inPonder=%d\n", inSearch, endSearch, inPonder);
  printf("fixedDepth=%d\n", fixedDepth);
  DisplayBoard(mainBoard, 1);
  float filled = 0;
  for (uint32_t i = 0; hashTable && i < hashEntries; i++)
    if (hashTable[i].key != 0) filled += 1;
  float percent = hashEntries ? 100 * filled / hashEntries : 0;
  printf("Hash table: %d entries, %f filled = %f pct filled.\n", (int)hashEntries, filled, percent);
}

static void CommandEpdscore(const char* line) {
  char name[FILE_NAME_SIZE], seconds[NUMBER_SIZE];
  if (WordAfterCommand(line, 0, name, sizeof name) >= sizeof name) {
    printf("Error (epdscore): file name longer than %d characters.\n", FILE_NAME_SIZE - 1);
    return;
  }
  WordAfterCommand(line, 1, seconds, sizeof seconds);
  double perPosition = atof(seconds);
  if (perPosition < 0.05) perPosition = 1.0;
  RunEpd(name, perPosition);
}

static void CommandBook(const char* line) {
  char name[FILE_NAME_SIZE];
  if (WordAfterCommand(line, 0, name, sizeof name) >= sizeof name) {
    printf("Error (book): file name longer than %d characters.\n", FILE_NAME_SIZE - 1);
    return;
  }
  BuildBook(name);
}

static void CommandUpgrade(const char*) {
  printf("begin book upgrade...\n");
  UpgradeBook();
  printf("finished book upgrade.\n");
}

static const DiagnosticRow diagnosticTable[] = {
    {"display", CommandDisplay},
    {"d", CommandDisplay},
    {"eval", CommandEval},
    {"history", CommandHistory},
    {"h", CommandHistory},
    {"status", CommandStatus},
    {"epdscore", CommandEpdscore},
    {"book", CommandBook},
    {"upgrade", CommandUpgrade},
};

int RunDiagnosticCommand(const char* word, const char* line) {
  for (const DiagnosticRow& row : diagnosticTable) {
    if (strcmp(word, row.word) == 0) {
      row.action(line);
      return 1;
    }
  }
  return 0;
}
