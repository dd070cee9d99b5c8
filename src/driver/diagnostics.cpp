// Console commands for a person testing and analysing the engine.
#include "driver/diagnostics.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "board/fen.h"
#include "board/movegen.h"
#include "driver/config.h"
#include "driver/engine.h"
#include "driver/input.h"
#include "driver/testpositions.h"
#include "moves/movetext.h"
#include "moves/perft.h"

// line is the whole command line without its line end.
typedef void (*DiagnosticAction)(const char* line);

struct DiagnosticRow {
  const char* word;
  DiagnosticAction action;
};

static void CommandDisplay(const char*) { DisplayBoard(mainBoard, 1); }

// The first argument word of a command line (at most 14 characters).
constexpr int ARGUMENT_WORD_SIZE = 15;
static void FirstArgument(const char* line, char* argument) {
  char word[64];
  NextWord(NextWord(line, word, sizeof(word)), argument, ARGUMENT_WORD_SIZE);
}

static void CommandList(const char*) {
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(mainBoard, list);
  PrintMoveList(list);
}

static void CommandPerft(const char* line) {
  char argument[ARGUMENT_WORD_SIZE];
  FirstArgument(line, argument);
  const int depth = ToInt(argument);
  printf("To do perft(%d)\n", depth);
  perft(depth);
}

static void CommandDivide(const char* line) {
  char argument[ARGUMENT_WORD_SIZE];
  FirstArgument(line, argument);
  const int depth = ToInt(argument);
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
  char argument[ARGUMENT_WORD_SIZE];
  FirstArgument(line, argument);
  for (const SetRow& row : setTable) {
    if (strcmp(argument, row.name) == 0) {
      ReadFen(testPositions[row.position], mainBoard);
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
    ReadFen(testPositions[row.position], mainBoard);
    printf(perft(5) == row.expected ? "pass\n" : "FAIL!\n");
  }
  printf("Total time: %lf seconds\n", ElapsedSince(searchStartTime));
}

static const DiagnosticRow diagnosticTable[] = {
    {"display", CommandDisplay},
    {"d", CommandDisplay},
    {"list", CommandList},
    {"perft", CommandPerft},
    {"divide", CommandDivide},
    {"set", CommandSet},
    {"test", CommandTest},
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
