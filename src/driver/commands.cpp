// The command interpreter: one line of the input ring per call.
#include "driver/commands.h"

#include <cstdio>
#include <cstring>

#include "base/clock.h"
#include "base/words.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "driver/diagnostics.h"
#include "driver/epd.h"
#include "driver/input.h"
#include "driver/uci.h"
#include "moves/movetext.h"
#include "moves/parsemove.h"
#include "search/engine.h"

constexpr int COMMAND_WORD_SIZE = 64;  // 63 characters and the terminator
constexpr int ARGUMENT_SIZE = 15;      // 14 characters and the terminator
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

// "uci" turns the process into a UCI engine for good; a running search
// ends first.
static void CommandUci(const char*, const char*) {
  if (inSearch != 0) {
    endSearch = 3;
    PutBackLine();
    return;
  }
  RunUci();
}

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

// The n-th argument word (from 0) of the text after the command word.
static void Argument(const char* args, int n, char* word) {
  for (int i = 0; i <= n; i++) args = NextWord(args, word, ARGUMENT_SIZE);
}

static int IntArgument(const char* args, int n) {
  char word[ARGUMENT_SIZE];
  Argument(args, n, word);
  return ToInt(word);
}

static void CommandProtover(const char*, const char*) {
  printf("feature done=0\n");
  printf("feature colors=0\n");
  printf("feature setboard=1\n");
  printf("feature usermove=1\n");
  printf("feature myname=\"%s\"\n", VERSION_TEXT);
  printf("feature ping=1\n");
  SleepMilliseconds(50);
  printf("feature done=1\n");
}

static void CommandAccepted(const char*, const char* args) {
  static const char* const announced[] = {"done", "colors", "setboard", "usermove", "myname", "ping"};
  char feature[ARGUMENT_SIZE];
  Argument(args, 0, feature);
  for (const char* name : announced) {
    if (strcmp(feature, name) == 0) {
      printf("#feature %s accepted\n", feature);
      return;
    }
  }
  printf("#Error: unknown feature %s accepted\n", feature);
}

static void CommandRejected(const char*, const char* args) {
  char feature[ARGUMENT_SIZE];
  Argument(args, 0, feature);
  printf("Error: feature %s rejected\n", feature);
}

static void CommandNew(const char*, const char*) {
  endSearch = 3;
  if (inSearch != 0) {
    PutBackLine();
    return;
  }
  NewGame();
}

static void CommandForce(const char*, const char*) {
  forceMode = 1;
  computerSide = 2;
  endSearch = 3;
  if (inSearch != 0) PutBackLine();
}

static void CommandGo(const char*, const char*) {
  if (inSearch != 0) {
    printf("Error(go): Computer is already searching.\n");
    return;
  }
  forceMode = 0;
  endSearch = 0;
  computerSide = mainBoard.onMove;
  searchStartTime = ReadClock();
}

static void CommandMoveNow(const char*, const char*) { endSearch = 3; }

static void CommandUsermove(const char*, const char* args) {
  if (inPonder == 1) endSearch = 3;
  searchStartTime = ReadClock();
  char move[ARGUMENT_SIZE];
  Argument(args, 0, move);
  if (ParseUserMove(move)) return;
  printf("Error(illegal move): %s\n", move);
  DisplayBoard(mainBoard, 1);
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(mainBoard, list);
  PrintMoveList(list);
  DisplayBoard(mainBoard, 1);
}

// A base written as minutes:seconds ("0:30", as xboard sends bases that are
// not whole minutes) counts its seconds too; a plain number is whole minutes.
static double BaseMinutesArgument(const char* args) {
  char word[ARGUMENT_SIZE];
  Argument(args, 1, word);
  double minutes = ToInt(word);
  const char* colon = strchr(word, ':');
  if (colon) minutes += ToInt(colon + 1) / 60.0;
  return minutes;
}

static void CommandLevel(const char*, const char* args) {
  movesPerControl = IntArgument(args, 0);
  baseMinutes = BaseMinutesArgument(args);
  increment = IntArgument(args, 2);
  comptime = opptime = baseMinutes * 60;
  printf("Time control: %d moves in %f minutes.\n", movesPerControl, baseMinutes);
  if (increment > 0) printf("Increment: %d seconds\n", increment);
}

static void CommandTime(const char*, const char* args) {
  if (inPonder == 1) endSearch = 3;
  comptime = IntArgument(args, 0) * 0.01;
  printf("Set time to %lf seconds.\n", comptime);
}

static void CommandOtim(const char*, const char* args) {
  if (inPonder == 1) endSearch = 3;
  opptime = IntArgument(args, 0) * 0.01;
}

static void CommandHard(const char*, const char*) { ponderMode = 1; }
static void CommandEasy(const char*, const char*) { ponderMode = 0; }
static void CommandPost(const char*, const char*) { postMode = 1; }
static void CommandNopost(const char*, const char*) { postMode = 0; }

static void CommandKibitz(const char*, const char*) {
  kibitzMode = 1;
  printf("tellics kibitz kibitz is on\n");
}

static void CommandNokibitz(const char*, const char*) { kibitzMode = 0; }

// While the engine thinks on its own move the answer waits for its move.
static void CommandPing(const char*, const char* args) {
  if (inSearch != 0 && inPonder == 0) {
    PutBackLine();
    return;
  }
  printf("pong %d\n", IntArgument(args, 0));
}

static void CommandResult(const char*, const char*) { printf("# result received.\n"); }
static void CommandRandom(const char*, const char*) {}
static void CommandSd(const char*, const char* args) { fixedDepth = IntArgument(args, 0); }

static void CommandSetboard(const char* line, const char*) {
  if (strlen(line) <= SETBOARD_FEN_OFFSET) {
    printf("Error (setboard): no position given\n");
    return;
  }
  ReadEpdPosition(line + SETBOARD_FEN_OFFSET, mainBoard);
  searchStartTime = ReadClock();
  strcpy(bookLine, "8");  // no book line begins with this: the book is done for the game
  mainBoard.gamePly = mainBoard.onMove == WHITE ? 2 : 3;
  DisplayBoard(mainBoard, 1);
}

static const CommandRow commandTable[] = {
    {"xboard", CommandXboard},
    {"uci", CommandUci},
    {"protover", CommandProtover},
    {"accepted", CommandAccepted},
    {"rejected", CommandRejected},
    {"new", CommandNew},
    {"force", CommandForce},
    {"go", CommandGo},
    {"?", CommandMoveNow},
    {"usermove", CommandUsermove},
    {"level", CommandLevel},
    {"time", CommandTime},
    {"otim", CommandOtim},
    {"hard", CommandHard},
    {"easy", CommandEasy},
    {"post", CommandPost},
    {"nopost", CommandNopost},
    {"kibitz", CommandKibitz},
    {"nokibitz", CommandNokibitz},
    {"ping", CommandPing},
    {"result", CommandResult},
    {"random", CommandRandom},
    {"sd", CommandSd},
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
