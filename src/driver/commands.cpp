// The command interpreter: one line of the input ring per call.
#include "driver/commands.h"

#include <cstdio>
#include <cstring>

#include "board/fen.h"
#include "driver/config.h"
#include "driver/diagnostics.h"
#include "driver/engine.h"
#include "driver/input.h"

constexpr int COMMAND_WORD_SIZE = 64;  // 63 characters and the terminator
// "setboard" and one blank: the position starts at the tenth character.
constexpr size_t SETBOARD_FEN_OFFSET = 9;

// line is the whole command line without its line end; args is the text
// after the command word.
typedef void (*CommandAction)(const char* line, const char* args);

struct CommandRow {
  const char* word;
  CommandAction action;
};

static void CommandXboard(const char*, const char*) { printf("# xboard mode activated\n"); }

static void CommandQuit(const char*, const char*) {
  endSearch = 3;
  quitFlag = 1;
  printf("Received quit. Need to exit game.\n");
}

static void CommandExit(const char*, const char*) {
  endSearch = 3;
  quitFlag = 1;
  printf("Received exit. Exiting game.\n");
}

static void CommandSetboard(const char* line, const char*) {
  if (strlen(line) <= SETBOARD_FEN_OFFSET) {
    printf("Error (setboard): no position given\n");
    return;
  }
  ReadFen(line + SETBOARD_FEN_OFFSET, mainBoard);
  searchStartTime = ReadClock();
  strcpy(bookLine, "8");  // no book line begins with this: the book is done for the game
  mainBoard.gamePly = mainBoard.onMove == WHITE ? 2 : 3;
  DisplayBoard(mainBoard, 1);
}

static const CommandRow commandTable[] = {
    {"xboard", CommandXboard},
    {"quit", CommandQuit},
    {"exit", CommandExit},
    {"setboard", CommandSetboard},
};

// Removes the line end (LF or CR-LF) kept with a line in the ring.
static void StripLineEnd(char* line) {
  size_t length = strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = 0;
}

int InterpretCommand() {
  char line[INPUT_LINE_SIZE];
  if (!TakeFromRing(line)) return 0;
  line[INPUT_LINE_SIZE - 1] = 0;
  StripLineEnd(line);

  char word[COMMAND_WORD_SIZE];
  const char* args = NextWord(line, word, sizeof(word));
  if (word[0] == 0) return 1;  // a blank line: nothing to do

  for (const CommandRow& row : commandTable) {
    if (strcmp(word, row.word) == 0) {
      row.action(line, args);
      return 1;
    }
  }
  if (RunDiagnosticCommand(word, line)) return 1;
  printf("Error (unknown command): %s\n", word);
  return 1;
}
