// The think driver of the xboard front end.
#include "driver/play.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "base/clock.h"
#include "base/output.h"
#include "board/movegen.h"
#include "book/book.h"
#include "driver/takeback.h"
#include "moves/makemove.h"
#include "moves/movetext.h"
#include "search/gameend.h"
#include "search/think.h"
#include "search/timectl.h"

int analysisMode = 0;
int analysisDue = 0;
int illegalPosition = 0;
int paused = 0;
double secondsPerMove = 0;
int runningThink = -1;

// The principal variation of the last thinking report of a play or analysis
// search, and the key of the position it starts from.
static Line lastLine;
static u64 lastLineKey = 0;
// The opponent's expected reply after the engine's last move.
static Move expectedReply = 0;
static u64 expectedReplyKey = 0;
// The last analysis when it has ended: its time and depth for "stat01".
static double analysisElapsed = 0;
static int analysisDepth = 0;

static void AppendToBookLine(const char* text) {
  size_t length = strlen(bookLine);
  size_t add = strlen(text);
  if (length + add < (size_t)BOOK_LINE_SIZE) memcpy(bookLine + length, text, add + 1);
}

static void PlayMove(const SearchResult& result) {
  Move m = result.move;
  char text[8];
  MoveToText(m, text);
  Output(OUT_CONSOLE | OUT_LOG, "Best move %d is: %s (%d) %d to %d, score=%d  elapsed=%lf\n",
         mainBoard.gamePly / 2 + 1, text, result.rootIndex, MoveFrom(m), MoveTo(m), result.score,
         result.elapsed);
  if (forceMode != 0) return;
  // A command during the search may have replaced the game position; the
  // move belongs to the position that was searched.
  if (mainBoard.hashkey != result.searchedKey) {
    printf("Error: the position changed during the search; no move played.\n");
    return;
  }
  const int ply = mainBoard.gamePly;
  const int whiteScore = mainBoard.onMove == WHITE ? result.score : -result.score;
  const Move chosen = m;
  SaveStateBeforeMove();
  if (!MakeMove(m, mainBoard)) {
    // Only a board that is no game position gets here; the engine stops
    // playing rather than announce a move it did not make.
    DropSavedState();
    printf("Error: the engine's move %s cannot be made; entering force mode.\n", text);
    forceMode = 1;
    return;
  }
  if (ply >= 0 && ply < GAME_HISTORY_SIZE) gameHistory[ply].score = whiteScore;
  AppendToBookLine(text);
  if (MoveCaptured(m) || (MovePiece(m) & 15) == PAWN) lastIrreversiblePly = mainBoard.gamePly;
  comptime -= result.elapsed;
  expectedReply = lastLine.count >= 2 && lastLine.moves[0] == chosen ? lastLine.moves[1] : 0;
  expectedReplyKey = mainBoard.hashkey;
  printf("move %s\n", text);
}

// The book is asked for the engine's own move below its last half-move.
static int ProbeBookEarly() {
  if (mainBoard.gamePly >= BOOK_PLIES) return 0;
  SaveStateBeforeMove();
  if (ProbeBook()) return 1;
  DropSavedState();
  return 0;
}

void Think(int mode) {
  SearchLimits limits = {};
  limits.mode = mode;
  limits.adjudicate = 1;
  if (mode == THINK_PLAY) {
    limits.probeBook = ProbeBookEarly;
    limits.onResult = PlayMove;
    limits.moveTime = secondsPerMove;
  } else if (mode == THINK_PONDER) {
    // With seconds per move the ponder search takes ten moves' time at most,
    // and looks at the input as often as a search of that length does.
    static const double PONDER_MOVES = 10;
    limits.moveTime = PONDER_MOVES * secondsPerMove;
  }
  runningThink = mode;
  SearchPosition(limits);
  runningThink = -1;
}

// Analysis of the game position until a command stops it or the search has
// nothing left to find (its last iteration, a forced mate).
static void Analyse() {
  analysisDue = 0;
  Move list[MOVE_LIST_SIZE];
  if (illegalPosition || GenerateMoves(mainBoard, list) == 0) return;
  SearchLimits limits = {};
  limits.mode = THINK_ANALYSE;
  limits.infinite = 1;
  runningThink = THINK_ANALYSE;
  SearchPosition(limits);
  runningThink = -1;
  analysisElapsed = ElapsedSince(searchStartTime);
  analysisDepth = rootDepth / 10;
}

int RunDueSearch() {
  if (inSearch != 0 || paused) return 0;
  if (analysisMode) {
    if (!analysisDue) return 0;
    Analyse();
    return 1;
  }
  if (forceMode != 0 || illegalPosition) return 0;
  if (CheckGameEnd(mainBoard)) {
    printf("Entering forcemode.\n");
    forceMode = 1;
    return 0;
  }
  if (mainBoard.onMove == computerSide) {
    Think(THINK_PLAY);
    return 1;
  }
  if (ponderMode == 2) {
    Think(THINK_PONDER);
    return 1;
  }
  return 0;
}

void XboardThinking(const ThinkingReport& report) {
  if (report.kind == THINKING_ROOT_MOVE) return;  // a UCI currmove report
  if (report.kind != THINKING_KIBITZ && (runningThink == THINK_PLAY || runningThink == THINK_ANALYSE)) {
    lastLine = *report.line;
    lastLineKey = mainBoard.hashkey;
  }
  if (analysisMode && runningThink == THINK_ANALYSE && report.kind != THINKING_KIBITZ) {
    PrintThinking(report.ply, report.elapsed, report.score, (int)report.nodes, *report.line, 1);
    return;
  }
  ShowThinking(report);
}

int HintMove(char* text) {
  Move hint = 0;
  if (analysisMode && lastLineKey == mainBoard.hashkey && lastLine.count > 0) hint = lastLine.moves[0];
  else if (expectedReplyKey == mainBoard.hashkey) hint = expectedReply;
  if (hint == 0) return 0;
  // Only a move of the position as it stands now.
  char hintText[8];
  MoveToText(hint, hintText);
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(mainBoard, list);
  for (int i = 0; list[i]; i++) {
    MoveToText(list[i], text);
    if (strcmp(text, hintText) == 0) return 1;
  }
  return 0;
}

void PrintAnalysisStatus() {
  const bool running = runningThink == THINK_ANALYSE;
  double elapsed = running ? ElapsedSince(searchStartTime) : analysisElapsed;
  int depth = running ? inSearch : analysisDepth;
  int total = rootMoveCount;
  int index = rootMoveIndex < total ? rootMoveIndex : 0;
  char text[8] = "";
  if (total > 0) MoveToText(rootMoves[index], text);
  printf("stat01: %d %" PRIu64 " %d %d %d %s\n", (int)(elapsed * 100), nodes, depth, total > 0 ? total - index - 1 : 0,
         total, text);
}
