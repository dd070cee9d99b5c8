// The command interpreter: one line of the input ring per call.
#include "driver/commands.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/clock.h"
#include "base/words.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "book/book.h"
#include "driver/config.h"
#include "driver/diagnostics.h"
#include "driver/epd.h"
#include "driver/input.h"
#include "driver/play.h"
#include "driver/takeback.h"
#include "driver/uci.h"
#include "moves/movetext.h"
#include "moves/parsemove.h"
#include "search/engine.h"
#include "search/timectl.h"
#include "search/hash.h"

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
  if (analysisMode) {  // leaves analysis mode for force mode
    endSearch = 3;
    analysisMode = 0;
    analysisDue = 0;
    forceMode = 1;
    computerSide = 2;
    return;
  }
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

// The settings of Quorvel.rc as the GUI's "Engine Settings": the name the
// GUI shows and the rc keyword its value is applied as.
struct OptionRow {
  const char* name;
  const char* keyword;
};
static const OptionRow optionTable[] = {
    {"Book file", "book"},
    {"Resign threshold", "resign"},
    {"Kibitz", "kibitz"},
};
static const int MAX_RESIGN_OPTION = 32000;

static void PrintOptionFeatures() {
  printf("feature option=\"%s -file %s\"\n", optionTable[0].name, bookName);
  printf("feature option=\"%s -spin %d 0 %d\"\n", optionTable[1].name, resignThreshold, MAX_RESIGN_OPTION);
  printf("feature option=\"%s -check %d\"\n", optionTable[2].name, kibitzMode ? 1 : 0);
}

static void CommandProtover(const char*, const char*) {
  printf("feature done=0\n");
  printf("feature colors=0\n");
  printf("feature setboard=1\n");
  printf("feature usermove=1\n");
  printf("feature myname=\"%s\"\n", VERSION_TEXT);
  printf("feature ping=1\n");
  static const char* const guiFeatures[] = {"analyze=1", "memory=1", "sigint=0",
                                            "sigterm=0", "draw=1",   "playother=1"};
  for (const char* feature : guiFeatures) printf("feature %s\n", feature);
  PrintOptionFeatures();
  SleepMilliseconds(50);
  printf("feature done=1\n");
}

static void CommandAccepted(const char*, const char* args) {
  static const char* const announced[] = {"done",    "colors", "setboard", "usermove", "myname",
                                          "ping",    "analyze", "memory",  "sigint",   "sigterm",
                                          "draw",    "playother", "option"};
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

// Commands that change the game position wait for the end of a running
// analysis (stopped at once), so that it restarts from the new position.
static int WaitsForTheAnalysis() {
  if (!analysisMode || inSearch == 0) return 0;
  endSearch = 3;
  PutBackLine();
  return 1;
}

static void CommandNew(const char*, const char*) {
  endSearch = 3;
  if (inSearch != 0) {
    PutBackLine();
    return;
  }
  NewGame();
  ForgetSavedStates();
  illegalPosition = 0;
  // The ponder search that fell due with the last game's last move is not
  // for this game.
  if (ponderMode == 2) ponderMode = 1;
  if (analysisMode) {  // a new game to analyse: still no side for the engine
    forceMode = 1;
    computerSide = 2;
    analysisDue = 1;
  }
}

static void CommandForce(const char*, const char*) {
  forceMode = 1;
  computerSide = 2;
  endSearch = 3;
  if (inSearch != 0) PutBackLine();
}

// The engine takes no side in analysis or on a position that is no game.
static int RefusedWithoutAGame(const char* line) {
  if (!analysisMode && !illegalPosition) return 0;
  printf("Error (%s): %s\n", analysisMode ? "command not legal now" : "illegal position", line);
  return 1;
}

static void CommandGo(const char* line, const char*) {
  if (inSearch != 0) {
    // A ponder search gives way to the engine's own move.
    if (runningThink == THINK_PONDER) {
      endSearch = 3;
      PutBackLine();
      return;
    }
    printf("Error(go): Computer is already searching.\n");
    return;
  }
  if (RefusedWithoutAGame(line)) return;
  forceMode = 0;
  endSearch = 0;
  computerSide = mainBoard.onMove;
  searchStartTime = ReadClock();
}

// The engine plays the side that is not to move; with pondering on it
// ponders at once.
static void CommandPlayother(const char* line, const char*) {
  if (inSearch != 0) {
    endSearch = 3;
    PutBackLine();
    return;
  }
  if (RefusedWithoutAGame(line)) return;
  forceMode = 0;
  computerSide = 1 - mainBoard.onMove;
  if (ponderMode != 0) ponderMode = 2;
}

static void CommandMoveNow(const char*, const char*) { endSearch = 3; }

static void CommandUsermove(const char*, const char* args) {
  if (WaitsForTheAnalysis()) return;
  if (illegalPosition) {
    printf("Error (illegal position): usermove\n");
    return;
  }
  if (inPonder == 1) endSearch = 3;
  searchStartTime = ReadClock();
  char move[ARGUMENT_SIZE];
  Argument(args, 0, move);
  SaveStateBeforeMove();
  if (ParseUserMove(move)) {
    if (analysisMode) analysisDue = 1;
    return;
  }
  DropSavedState();
  // The interface reads this line and takes the move back; the board and
  // the legal moves are for a person, as comments.
  printf("Illegal move: %s\n", move);
  DisplayBoard(mainBoard, 1, "# ");
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(mainBoard, list);
  PrintMoveList(list);
  DisplayBoard(mainBoard, 1, "# ");
}

// "undo" takes back one half-move, "remove" two (the user's move and the
// engine's reply; the engine keeps its side).
static void TakeBackHalfMoves(const char* line, int halfMoves) {
  if (inSearch != 0) {
    endSearch = 3;
    PutBackLine();
    return;
  }
  if (!TakeBack(halfMoves)) {
    printf("Error (nothing to take back): %s\n", line);
    return;
  }
  if (ponderMode == 2) ponderMode = 1;
  if (analysisMode) analysisDue = 1;
}

static void CommandUndo(const char* line, const char*) { TakeBackHalfMoves(line, 1); }
static void CommandRemove(const char* line, const char*) { TakeBackHalfMoves(line, 2); }

static void CommandAnalyze(const char*, const char*) {
  if (inSearch != 0) {
    // The engine's own search ends without a move; analysis takes over.
    if (!analysisMode) forceMode = 1;
    endSearch = 3;
    PutBackLine();
    return;
  }
  analysisMode = 1;
  analysisDue = 1;
  forceMode = 1;
  computerSide = 2;
  if (ponderMode == 2) ponderMode = 1;
}

static void CommandStatus(const char*, const char*) {
  if (analysisMode) PrintAnalysisStatus();
}

static void CommandHint(const char*, const char*) {
  char move[8];
  if (HintMove(move)) printf("Hint: %s\n", move);
}

// Book moves for the position, for a dialog: each line begins with a blank
// and an empty line ends the text.
static void CommandBk(const char*, const char*) {
  BookMoveRow rows[BOOK_ROWS_MAX];
  int count = ListBookMoves(rows, BOOK_ROWS_MAX);
  if (count == 0) printf(" no book moves for this position\n");
  for (int i = 0; i < count; i++) printf(" %s %d %.0f%%\n", rows[i].move, rows[i].weight, rows[i].percent);
  printf("\n");
}

// A draw offer is accepted when the engine's last searched move in this game
// scored worse than this for it; otherwise it plays on without a word.
static const int DRAW_ACCEPT_SCORE = -150;

static void CommandDraw(const char*, const char*) {
  if (analysisMode || (computerSide != WHITE && computerSide != BLACK)) return;
  // Half-moves of this game only: the game started where take-back ends.
  int first = mainBoard.gamePly - SavedStateCount();
  for (int i = mainBoard.gamePly - 1; i >= first && i >= 0; i--) {
    if (i >= GAME_HISTORY_SIZE || (i & 1) != computerSide) continue;
    int score = computerSide == WHITE ? gameHistory[i].score : -gameHistory[i].score;
    if (score < DRAW_ACCEPT_SCORE) printf("offer draw\n");
    return;
  }
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
  movesPerControl = (int)ClampArgument(IntArgument(args, 0), 0, MAX_MOVES_PER_CONTROL, "level moves");
  baseMinutes = ClampArgument(BaseMinutesArgument(args), 0, MAX_CLOCK_SECONDS / 60, "level minutes");
  increment = (int)ClampArgument(IntArgument(args, 2), 0, MAX_CLOCK_SECONDS, "level increment");
  comptime = opptime = baseMinutes * 60;
  secondsPerMove = 0;
  printf("Time control: %d moves in %f minutes.\n", movesPerControl, baseMinutes);
  if (increment > 0) printf("Increment: %d seconds\n", increment);
}

static void CommandTime(const char*, const char* args) {
  if (inPonder == 1) endSearch = 3;
  comptime = ClampArgument(IntArgument(args, 0), 0, MAX_CLOCK_SECONDS * 100, "time") * 0.01;
  printf("Set time to %lf seconds.\n", comptime);
}

static void CommandOtim(const char*, const char* args) {
  if (inPonder == 1) endSearch = 3;
  opptime = ClampArgument(IntArgument(args, 0), 0, MAX_CLOCK_SECONDS * 100, "otim") * 0.01;
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

// "st": at most this many seconds (a fraction allowed) for each move, no
// time carried from one move to the next; replaces "level".
static void CommandSt(const char* line, const char* args) {
  char word[ARGUMENT_SIZE];
  Argument(args, 0, word);
  char* end = nullptr;
  double seconds = strtod(word, &end);
  static const double MAX_SECONDS_PER_MOVE = 1e6;
  if (end == word || *end != 0 || !(seconds > 0) || seconds > MAX_SECONDS_PER_MOVE) {
    printf("Error (seconds per move must be above 0): %s\n", line);
    return;
  }
  secondsPerMove = seconds;
  printf("Time control: %g seconds per move.\n", seconds);
}

// While the engine thinks on its own move the answer waits for its move.
static void CommandPing(const char*, const char* args) {
  if (inSearch != 0 && inPonder == 0 && runningThink != THINK_ANALYSE) {
    PutBackLine();
    return;
  }
  printf("pong %d\n", IntArgument(args, 0));
}

// The game is over: a running search or ponder search ends without a move
// and the engine waits in force mode for the next game. An analysis goes on.
static void CommandResult(const char*, const char*) {
  if (!analysisMode) {
    endSearch = 3;
    forceMode = 1;
    if (ponderMode == 2) ponderMode = 1;
  }
  printf("# result received.\n");
}

static void CommandQuiet(const char*, const char*) {}
static void CommandSd(const char*, const char* args) {
  fixedDepth = (int)ClampArgument(IntArgument(args, 0), 0, MAX_SEARCH_DEPTH, "sd");
}

static void CommandSetboard(const char* line, const char*) {
  if (strlen(line) <= SETBOARD_FEN_OFFSET) {
    printf("Error (setboard): no position given\n");
    return;
  }
  if (WaitsForTheAnalysis()) return;
  // A text that is not a position leaves the board as it was; the game is
  // not playable until "new" or a good position, as for an illegal one.
  if (!ReadEpdPosition(line + SETBOARD_FEN_OFFSET, mainBoard)) {
    illegalPosition = 1;
    printf("tellusererror Illegal position\n");
    return;
  }
  searchStartTime = ReadClock();
  strcpy(bookLine, "8");  // no book line begins with this: the book is done for the game
  mainBoard.gamePly = mainBoard.onMove == WHITE ? 2 : 3;
  DisplayBoard(mainBoard, 1);
  ForgetSavedStates();
  // A king that can be captured (or a missing or second king) is no game:
  // searching it would only find the capture.
  illegalPosition = !IsGamePosition(mainBoard);
  if (illegalPosition) printf("tellusererror Illegal position\n");
  if (analysisMode) analysisDue = 1;
}

// "memory N": the transposition table becomes N megabytes, within the
// limits of the rc keyword "hash". The new table starts empty.
static void CommandMemory(const char*, const char* args) {
  if (inSearch != 0) {
    if (runningThink != THINK_PLAY) endSearch = 3;
    PutBackLine();
    return;
  }
  char word[ARGUMENT_SIZE];
  Argument(args, 0, word);
  // The rc keyword checks the value and gives its messages; the table is
  // then resized through the engine interface.
  const uint32_t before = hashEntries;
  ApplySetting("hash", word);
  if (hashEntries == before && hashTable != nullptr) return;
  const int megabytes = HashTableMegabytes();
  hashEntries = before;
  if (ResizeHashTable(megabytes) != 0) printf("Not enough memory to allocate buffer\n");
  if (analysisMode) analysisDue = 1;  // the analysis stopped for the new table
}

// "option NAME=VALUE" from the GUI's settings dialog, applied as the rc
// keyword; the kibitz check box switches kibitz off with 0.
static void CommandOption(const char*, const char* args) {
  while (*args == ' ' || *args == '\t') args++;
  const char* equals = strchr(args, '=');
  size_t nameLength = equals ? (size_t)(equals - args) : strlen(args);
  char value[INPUT_LINE_SIZE] = "";
  if (equals) NextWord(equals + 1, value, sizeof value);
  for (const OptionRow& row : optionTable) {
    if (strlen(row.name) != nameLength || strncmp(row.name, args, nameLength) != 0) continue;
    if (strcmp(row.keyword, "kibitz") == 0 && strcmp(value, "0") == 0) {
      kibitzMode = 0;
      return;
    }
    ApplySetting(row.keyword, value);
    if (strcmp(row.keyword, "book") == 0 && value[0] != 0) OpenBook();
    return;
  }
  printf("Error (unknown option): %.*s\n", (int)nameLength, args);
}

// "pause": no search starts until "resume"; a running one is held here,
// reading commands, and its clock stops meanwhile. A command that stops the
// search or waits for its end ends the hold.
static void CommandPause(const char*, const char*) {
  paused = 1;
  if (inSearch == 0) return;
  double start = ReadClock();
  while (paused && endSearch != 3 && quitFlag == 0 && RingIsEmpty()) {
    WaitForCommand();
    InterpretCommand();
  }
  searchStartTime += ElapsedSince(start);
}

static void CommandResume(const char*, const char*) { paused = 0; }

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
    {"random", CommandQuiet},
    {"computer", CommandQuiet},
    {"name", CommandQuiet},
    {"rating", CommandQuiet},
    {"ics", CommandQuiet},
    {"pause", CommandPause},
    {"resume", CommandResume},
    {"st", CommandSt},
    {"playother", CommandPlayother},
    {"undo", CommandUndo},
    {"remove", CommandRemove},
    {"analyze", CommandAnalyze},
    {".", CommandStatus},
    {"hint", CommandHint},
    {"bk", CommandBk},
    {"draw", CommandDraw},
    {"memory", CommandMemory},
    {"option", CommandOption},
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

int TakeUrgentEffect(const char* line, int queueable) {
  char word[COMMAND_WORD_SIZE];
  NextWord(line, word, sizeof(word));
  if (strcmp(word, "quit") == 0) {
    if (!queueable) {
      CommandQuit(line, "");
      return 2;
    }
    endSearch = 3;
    quitFlag = 1;
    return 1;
  }
  if (strcmp(word, "?") == 0 || strcmp(word, "stop") == 0) {
    endSearch = 3;  // the whole of their work during a search
    return 2;
  }
  if (strcmp(word, "force") == 0) {
    endSearch = 3;  // force mode itself follows in the line's turn
    return 1;
  }
  return 0;
}

// Coordinate move text: two squares and perhaps a promotion letter.
static int LooksLikeMove(const char* word) {
  size_t length = strlen(word);
  if (length != 4 && length != 5) return 0;
  for (int i = 0; i < 4; i++) {
    char c = word[i];
    if (i % 2 == 0 ? (c < 'a' || c > 'h') : (c < '1' || c > '8')) return 0;
  }
  return length == 4 || strchr("qrbn", word[4]) != nullptr;
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
  // In analysis a move may come without "usermove".
  if (analysisMode && LooksLikeMove(word)) {
    CommandUsermove(line, line);
    return 1;
  }
  printf("Error (unknown command): %s\n", word);
  return 1;
}
