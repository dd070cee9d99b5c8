// Console commands for a person testing and analysing the engine.
#include "driver/diagnostics.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/clock.h"
#include "base/output.h"
#include "base/words.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "book/bookbuild.h"
#include "driver/epd.h"
#include "driver/input.h"
#include "driver/play.h"
#include "moves/movetext.h"
#include "moves/perft.h"
#include "search/eval.h"
#include "search/hash.h"
#include "search/timectl.h"

// line is the whole command line without its line end.
typedef void (*DiagnosticAction)(const char* line);

struct DiagnosticRow {
  const char* word;
  DiagnosticAction action;
  // The command runs searches or counts of its own, or replaces the game:
  // during a search its line waits (is put back) until the search ends.
  bool waitsForSearch;
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
  if (!(perPosition >= 0.05)) perPosition = 1.0;  // also for a text that is no number
  perPosition = ClampArgument(perPosition, 0.05, MAX_CLOCK_SECONDS, "epdscore seconds");
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
  if (UpgradeBook() == 0) printf("finished book upgrade.\n");
}

static void CommandList(const char*) {
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(mainBoard, list);
  PrintMoveList(list);
}

// Depth of the deepest count: one ply more can pass 2^64 leaves even from
// the start position. Deeper counts are refused, not cut.
constexpr int MAX_PERFT_DEPTH = 13;

// The depth argument of perft and divide; -1 after the refusal message when
// it is outside lowest..MAX_PERFT_DEPTH.
static int PerftDepthArgument(const char* command, const char* line, int lowest) {
  char argument[NUMBER_SIZE];
  WordAfterCommand(line, 0, argument, sizeof argument);
  const int depth = ToInt(argument);
  if (depth < lowest || depth > MAX_PERFT_DEPTH) {
    printf("Error (%s): depth %d is outside %d to %d.\n", command, depth, lowest, MAX_PERFT_DEPTH);
    return -1;
  }
  return depth;
}

static void CommandPerft(const char* line) {
  const int depth = PerftDepthArgument("perft", line, 0);
  if (depth < 0) return;
  printf("To do perft(%d)\n", depth);
  perft(depth);
}

static void CommandDivide(const char* line) {
  const int depth = PerftDepthArgument("divide", line, 1);
  if (depth < 0) return;
  printf("To do divide(%d)\n", depth);
  divide(depth);
}

// "set" NAME: the names, their echo labels and their positions.
struct SetRow {
  const char* name;
  const char* label;
  TestPositionId position;
};
static const SetRow setTable[] = {
    {"kiwi", "kiwi", POS_KIWI},     {"bench", "FEN3", POS_P8},    {"FEN2", "FEN2", POS_P2},
    {"FEN3", "FEN3", POS_P3},       {"FEN6", "FEN6", POS_FEN6},   {"fine70", "fine70", POS_FINE70},
    {"55", "fine70", POS_P9},
};

static void CommandSet(const char* line) {
  char argument[NUMBER_SIZE];
  WordAfterCommand(line, 0, argument, sizeof argument);
  for (const SetRow& row : setTable) {
    if (strcmp(argument, row.name) == 0) {
      ReadEpdPosition(testPositions[row.position], mainBoard);
      printf("%s: %s\n", row.label, testPositions[row.position]);
      return;
    }
  }
}

// The move generator's self-test: perft 5 of five positions against their
// known totals.
static void CommandTest(const char*) {
  struct TestRow {
    TestPositionId position;
    uint64_t expected;
  };
  static const TestRow rows[] = {
      {POS_START, 4865609}, {POS_KIWI, 193690690}, {POS_P1, 18365789},
      {POS_P2, 39918895},   {POS_P3, 846746},
  };
  searchStartTime = ReadClock();
  for (const TestRow& row : rows) {
    ReadEpdPosition(testPositions[row.position], mainBoard);
    printf(perft(5) == row.expected ? "pass\n" : "FAIL!\n");
  }
  printf("Total time: %lf seconds\n", ElapsedSince(searchStartTime));
}

uint64_t RunBench(const BenchRow* rows, int count) {
  const double t0 = ReadClock();
  uint64_t total = 0;
  // "quit" arriving during one of the analyses ends the whole run.
  int done = 0;
  for (int i = 0; i < count && !quitFlag; i++) {
    printf("%s", rows[i].header);
    ReadEpdPosition(testPositions[rows[i].position], mainBoard);
    comptime = 1000.0;
    fixedDepth = rows[i].depth;
    Think(2);
    if (quitFlag) break;  // an analysis cut short counts for nothing
    total += nodes;
    done++;
    if (i < 3) printf("Elapsed time %6.1lf\n", ElapsedSince(t0));
  }
  // A total of a stopped run would pass for the benchmark's signature.
  if (done < count)
    printf("Bench stopped after %d of %d positions.\n", done, count);
  else
    printf("Total bench nodes: %" PRIu64 "\n", total);
  printf("Total elapsed time %6.1lf\n", ElapsedSince(t0));
  return total;
}

// The search benchmark: fixed-depth analyses of ten positions. The node
// total is the engine's reproducibility signature for a given hash size.
static void CommandBench(const char*) {
  static const BenchRow rows[] = {
      {"\ntestpos1\n", POS_P1, 9},      {"\ntestpos2\n", POS_P2, 12},     {"\ntestpos3\n", POS_P3, 13},
      {"\ntestpos4\n", POS_P4, 11},     {"\ntestpos5\n", POS_P5, 11},     {"\ntestpos6\n", POS_P6, 12},
      {"\ntestpos7\n", POS_FINE70, 37}, {"\ntestpos8\n", POS_P8, 8},      {"\ntestpos9\n", POS_P9, 10},
      {"\ntestpos10\n", POS_KIWI, 7},
  };
  RunBench(rows, (int)(sizeof rows / sizeof rows[0]));
}

static const DiagnosticRow diagnosticTable[] = {
    {"display", CommandDisplay, false},
    {"d", CommandDisplay, false},
    {"eval", CommandEval, false},
    {"history", CommandHistory, false},
    {"h", CommandHistory, false},
    {"status", CommandStatus, false},
    {"epdscore", CommandEpdscore, true},
    {"book", CommandBook, true},
    {"upgrade", CommandUpgrade, true},
    {"list", CommandList, false},
    {"perft", CommandPerft, true},
    {"divide", CommandDivide, true},
    {"set", CommandSet, false},
    {"test", CommandTest, true},
    {"bench", CommandBench, true},
};

int RunDiagnosticCommand(const char* word, const char* line) {
  for (const DiagnosticRow& row : diagnosticTable) {
    if (strcmp(word, row.word) == 0) {
      if (row.waitsForSearch && inSearch != 0) {
        PutBackLine();
        return 1;
      }
      row.action(line);
      return 1;
    }
  }
  return 0;
}
