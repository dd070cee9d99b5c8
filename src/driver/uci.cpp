// The UCI front end: command loop, options, positions, "go" and its limits,
// the thinking as "info" lines and the answer as "bestmove".
//
// The engine is single-threaded: "go" runs the search to its end inside the
// command, and the search's input poll reads the commands that may arrive
// meanwhile. "isready", "stop", "ponderhit" and "quit" act at once; any
// other command ends the search as "stop" would (the GUI gets its
// "bestmove") and then runs.
#include "driver/uci.h"

#include <cctype>
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "base/clock.h"
#include "base/output.h"
#include "base/poll.h"
#include "base/words.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "board/tables.h"
#include "book/book.h"
#include "driver/input.h"
#include "moves/makemove.h"
#include "moves/movetext.h"
#include "search/engine.h"
#include "search/hash.h"
#include "search/timectl.h"

// A "position" line holds a FEN and up to the whole game record of moves.
constexpr int UCI_LINE_SIZE = 8192;
constexpr int UCI_WORD_SIZE = 128;
// Milliseconds kept back from the clock on every move for the GUI and the
// pipes between them: the slowest GUI-to-engine round trip measured under
// xboard and polyglot on a busy machine was 95 ms.
constexpr int DEFAULT_MOVE_OVERHEAD = 100;
constexpr int MAX_MOVE_OVERHEAD = 5000;
// currmove lines come at most this often, and not in the first second.
constexpr double CURRMOVE_INTERVAL = 1.0;

// Options.
static int ownBook = 1;
static int ponderOption = 0;
static int moveOverhead = DEFAULT_MOVE_OVERHEAD;

// The position: 0 after a FEN that could not be used, until the next one.
static int positionUsable = 1;

// Input: the line being put together from the reader's pieces, and one
// line that arrived during a search and waits for its end.
static char lineText[UCI_LINE_SIZE];
static int lineLength = 0;
static int lineTooLong = 0;
static char waitingLine[UCI_LINE_SIZE];
static int lineWaits = 0;

// The running "go".
static int pondering = 0;     // "go ponder" and no "ponderhit" yet
static int holdBestMove = 0;  // "infinite" or "ponder": bestmove waits for "stop" or "ponderhit"
static SearchLimits ponderhitLimits;  // the search's limits once "ponderhit" arrives
static double goStartTime = 0;
static double lastCurrMoveTime = 0;
static Move resultMove = 0;
static Move bookMove = 0;
// The last trustworthy thinking: a new best root move, or a whole iteration.
static Line bestLine;
static int bestLineDepth = 0;
static int bestLineScore = 0;
static Move searchMoveList[MOVE_LIST_SIZE];

// ---------------------------------------------------------------- input

// Adds a piece of input (a line, or part of a longer one) to the line being
// put together. Returns 1 when the line is complete.
static int AddPiece(const char* piece) {
  size_t length = strlen(piece);
  int complete = length > 0 && piece[length - 1] == '\n';
  if (complete) length--;
  if (lineLength + (int)length >= UCI_LINE_SIZE) {
    lineTooLong = 1;
  } else {
    memcpy(lineText + lineLength, piece, length);
    lineLength += (int)length;
  }
  return complete;
}

// Hands out the line put together (without its line end) and starts the
// next. An over-long line is refused with a message and handed out empty.
static void TakeLine(char* line) {
  while (lineLength > 0 && isspace((unsigned char)lineText[lineLength - 1])) lineLength--;
  lineText[lineLength] = 0;
  if (lineTooLong) {
    ProtocolLine("info string line longer than %d characters ignored", UCI_LINE_SIZE - 1);
    lineText[0] = 0;
  }
  strcpy(line, lineText);
  lineLength = 0;
  lineTooLong = 0;
}

// The next command line, waiting for it: a line held back by a search
// first, then lines the xboard front end queued, then standard input.
// Returns 0 at the end of input.
static int NextLine(char* line) {
  if (lineWaits) {
    strcpy(line, waitingLine);
    lineWaits = 0;
    return 1;
  }
  char piece[INPUT_LINE_SIZE];
  if (TakeFromRing(piece)) {
    AddPiece(piece);
    TakeLine(line);
    return 1;
  }
  for (;;) {
    if (!ReadInputLine(piece)) {
      if (lineLength == 0) return 0;
      TakeLine(line);  // an unterminated last line still counts
      return 1;
    }
    if (AddPiece(piece)) {
      TakeLine(line);
      return 1;
    }
  }
}

// The first word of a line and the text after it.
static const char* FirstWord(const char* line, char* word) { return NextWord(line, word, UCI_WORD_SIZE); }

// ---------------------------------------------------------------- output

static void MovesText(const Line& line, char* text, size_t size) {
  size_t length = 0;
  text[0] = 0;
  for (int i = 0; i < line.count && i < MAX_LINE; i++) {
    char move[8];
    MoveToText(line.moves[i], move);
    int added = snprintf(text + length, size - length, "%s%s", i > 0 ? " " : "", move);
    if (added < 0 || (size_t)added >= size - length) break;
    length += (size_t)added;
  }
}

static void ScoreText(int score, const Line& line, char* text, size_t size) {
  if (score > 30000 || score < -30000)
    snprintf(text, size, "mate %d", MateInMoves(score, line));
  else
    snprintf(text, size, "cp %d", score);
}

static void SendInfo(int depth, int selective, int score, const Line& line, uint64_t nodeCount) {
  double elapsed = ElapsedSince(goStartTime);
  long long ms = (long long)(elapsed * 1000);
  uint64_t nps = ms > 0 ? nodeCount * 1000 / (uint64_t)ms : 0;
  char scoreText[32];
  ScoreText(score, line, scoreText, sizeof scoreText);
  char pv[MAX_LINE * 6 + 1];
  MovesText(line, pv, sizeof pv);
  ProtocolLine("info depth %d seldepth %d score %s time %lld nodes %" PRIu64 " nps %" PRIu64 " hashfull %d%s%s", depth,
               selective > depth ? selective : depth, scoreText, ms, nodeCount, nps, HashTableFull(),
               line.count > 0 ? " pv " : "", pv);
}

static void UciThinking(const ThinkingReport& report) {
  switch (report.kind) {
    case THINKING_ROOT_MOVE: {
      double elapsed = ElapsedSince(goStartTime);
      if (elapsed < CURRMOVE_INTERVAL || elapsed - lastCurrMoveTime < CURRMOVE_INTERVAL) return;
      lastCurrMoveTime = elapsed;
      char move[8];
      MoveToText(report.rootMove, move);
      ProtocolLine("info depth %d currmove %s currmovenumber %d", report.ply, move, report.rootMoveNumber);
      return;
    }
    case THINKING_NEW_BEST:
      bestLine = *report.line;
      bestLineDepth = report.ply;
      bestLineScore = report.score;
      SendInfo(report.ply, report.selDepth, report.score, bestLine, report.nodes);
      return;
    case THINKING_ITERATION:
      // An iteration cut off by a stop has no score or line to trust: the
      // report repeats the last good one with the nodes of the whole search.
      if (endSearch != 3 && report.line->count > 0) {
        bestLine = *report.line;
        bestLineDepth = report.ply;
        bestLineScore = report.score;
      }
      if (bestLine.count > 0)
        SendInfo(bestLineDepth, report.selDepth, bestLineScore, bestLine, report.nodes);
      return;
    default:
      return;
  }
}

static void SendBestMove(Move move) {
  if (move == 0) {
    ProtocolLine("bestmove 0000");
    return;
  }
  char text[8];
  MoveToText(move, text);
  if (bestLine.count >= 2 && bestLine.moves[0] == move) {
    char reply[8];
    MoveToText(bestLine.moves[1], reply);
    ProtocolLine("bestmove %s ponder %s", text, reply);
  } else {
    ProtocolLine("bestmove %s", text);
  }
}

// ---------------------------------------------------------------- search

static void TakeResult(const SearchResult& result) { resultMove = result.move; }

// The legal move of mainBoard written as text (coordinates, promotion
// letter in lower case), 0 when there is none.
static Move LegalMoveOfText(const char* text) {
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(mainBoard, list);
  for (int i = 0; list[i]; i++) {
    char move[8];
    MoveToText(list[i], move);
    if (strcasecmp(move, text) == 0) return list[i];
  }
  return 0;
}

// The book's move for mainBoard, told as the search's answer. The book plays
// its move on the game; the position is put back, as the GUI owns it.
static int ProbeOwnBook() {
  if (!ownBook || mainBoard.gamePly >= BOOK_PLIES) return 0;
  const Board before = mainBoard;
  const int irreversible = lastIrreversiblePly;
  const size_t bookLineLength = strlen(bookLine);
  int played = ProbeBook();
  const u64 reached = mainBoard.hashkey;
  mainBoard = before;
  lastIrreversiblePly = irreversible;
  bookLine[bookLineLength] = 0;
  if (!played) return 0;
  Move list[MOVE_LIST_SIZE];
  GenerateMoves(before, list);
  for (int i = 0; list[i]; i++) {
    Board after = before;
    MakeMove(list[i], after);
    if (after.hashkey == reached) {
      bookMove = list[i];
      return 1;
    }
  }
  return 0;
}

// A line that arrives while the search runs.
static void LineDuringSearch(const char* line) {
  char word[UCI_WORD_SIZE];
  FirstWord(line, word);
  if (word[0] == 0 || strcmp(word, "debug") == 0) return;
  if (strcmp(word, "isready") == 0) {
    ProtocolLine("readyok");
  } else if (strcmp(word, "stop") == 0) {
    holdBestMove = 0;
    StopSearch();
  } else if (strcmp(word, "ponderhit") == 0) {
    if (!pondering) return;
    pondering = 0;
    holdBestMove = 0;
    RestartClock(ponderhitLimits);
  } else if (strcmp(word, "quit") == 0) {
    quitFlag = 1;
    StopSearch();
  } else {
    strcpy(waitingLine, line);
    lineWaits = 1;
    holdBestMove = 0;
    StopSearch();
  }
}

// The input poll of a search: every whole line waiting is acted on, then the
// clock is looked at. Once the search is stopped the lines behind wait for
// its bestmove ("stop" and "quit" sent together get the bestmove first).
static void UciPoll() {
  char piece[INPUT_LINE_SIZE];
  while (!lineWaits && !quitFlag && endSearch != 3) {
    int got = PollInputLine(piece);
    if (got == 0) break;
    if (got < 0) {  // end of input ends the engine
      quitFlag = 1;
      StopSearch();
      break;
    }
    if (AddPiece(piece)) {
      char line[UCI_LINE_SIZE];
      TakeLine(line);
      LineDuringSearch(line);
    }
  }
  CheckStopTimes();
}

// After a search that is done before the GUI wants its answer: wait for
// "stop" or "ponderhit", answering "isready" meanwhile.
static void WaitForRelease() {
  char line[UCI_LINE_SIZE];
  while (holdBestMove && !quitFlag) {
    if (!NextLine(line)) {
      quitFlag = 1;
      return;
    }
    char word[UCI_WORD_SIZE];
    FirstWord(line, word);
    if (word[0] == 0 || strcmp(word, "debug") == 0) continue;
    if (strcmp(word, "isready") == 0) {
      ProtocolLine("readyok");
    } else if (strcmp(word, "stop") == 0 || strcmp(word, "ponderhit") == 0) {
      holdBestMove = 0;
    } else if (strcmp(word, "quit") == 0) {
      quitFlag = 1;
    } else {
      strcpy(waitingLine, line);
      lineWaits = 1;
      holdBestMove = 0;
    }
  }
}

// A number argument of "go": digits with an optional sign, clamped to what
// an int holds. 0 with a message when the word is not a number.
static long long GoNumber(const char* name, const char* word) {
  char* end = nullptr;
  errno = 0;
  long long value = strtoll(word, &end, 10);
  if (word[0] == 0 || *end != 0) {
    ProtocolLine("info string go: %s needs a number, not \"%s\"", name, word);
    return 0;
  }
  if (errno == ERANGE || value > INT_MAX) value = INT_MAX;
  if (value < INT_MIN) value = INT_MIN;
  return value;
}

// The clock in milliseconds becomes the engine's own time control, less the
// move overhead.
static void SetClock(long long timeMs, long long incrementMs, long long movesToGo) {
  double budget = (double)(timeMs - moveOverhead);
  if (budget < timeMs / 10.0) budget = timeMs / 10.0;
  if (budget < 1) budget = 1;
  comptime = budget / 1000.0;
  increment = incrementMs > 0 ? (int)(incrementMs / 1000) : 0;
  movesPerControl = movesToGo > 0 ? (int)movesToGo + mainBoard.gamePly / 2 : 0;
}

static void CommandGo(const char* args) {
  long long times[2] = {-1, -1}, increments[2] = {0, 0};
  long long movesToGo = 0, moveTime = 0, depth = 0, nodeLimit = 0, mate = 0;
  int infinite = 0, ponder = 0, searchMoveCount = 0, readingMoves = 0;
  char word[UCI_WORD_SIZE], value[UCI_WORD_SIZE];
  const char* rest = args;
  for (;;) {
    rest = NextWord(rest, word, sizeof word);
    if (word[0] == 0) break;
    long long* target = nullptr;
    if (strcmp(word, "wtime") == 0) target = &times[WHITE];
    else if (strcmp(word, "btime") == 0) target = &times[BLACK];
    else if (strcmp(word, "winc") == 0) target = &increments[WHITE];
    else if (strcmp(word, "binc") == 0) target = &increments[BLACK];
    else if (strcmp(word, "movestogo") == 0) target = &movesToGo;
    else if (strcmp(word, "movetime") == 0) target = &moveTime;
    else if (strcmp(word, "depth") == 0) target = &depth;
    else if (strcmp(word, "nodes") == 0) target = &nodeLimit;
    else if (strcmp(word, "mate") == 0) target = &mate;
    if (target != nullptr) {
      readingMoves = 0;
      rest = NextWord(rest, value, sizeof value);
      *target = GoNumber(word, value);
    } else if (strcmp(word, "infinite") == 0) {
      readingMoves = 0;
      infinite = 1;
    } else if (strcmp(word, "ponder") == 0) {
      readingMoves = 0;
      ponder = 1;
    } else if (strcmp(word, "searchmoves") == 0) {
      readingMoves = 1;
    } else if (readingMoves) {
      Move m = LegalMoveOfText(word);
      if (m == 0)
        ProtocolLine("info string go searchmoves: %s is not a legal move here", word);
      else if (searchMoveCount < MOVE_LIST_SIZE - 1)
        searchMoveList[searchMoveCount++] = m;
    } else {
      ProtocolLine("info string go: unknown word %s ignored", word);
    }
  }
  searchMoveList[searchMoveCount] = 0;

  bestLine.count = 0;
  bestLineDepth = 0;
  resultMove = 0;
  bookMove = 0;
  goStartTime = ReadClock();
  lastCurrMoveTime = 0;
  pondering = ponder;
  holdBestMove = infinite || ponder;

  Move list[MOVE_LIST_SIZE];
  int legalMoves = positionUsable ? GenerateMoves(mainBoard, list) : 0;
  if (!positionUsable) {
    ProtocolLine("info string no usable position: no search");
  } else if (legalMoves == 0) {
    ProtocolLine("info depth 0 score %s", inCheck ? "mate 0" : "cp 0");
  } else {
    SearchLimits limits = {};
    limits.mode = THINK_PLAY;
    limits.onResult = TakeResult;
    limits.probeBook = infinite ? nullptr : ProbeOwnBook;
    limits.depth = (int)(depth > MAX_SEARCH_DEPTH ? MAX_SEARCH_DEPTH : depth);
    if (mate > 0 && (limits.depth == 0 || 2 * mate - 1 < limits.depth))
      limits.depth = (int)(2 * mate - 1 < MAX_SEARCH_DEPTH ? 2 * mate - 1 : MAX_SEARCH_DEPTH);
    limits.nodes = nodeLimit > 0 ? (uint64_t)nodeLimit : 0;
    limits.searchMoves = searchMoveCount > 0 ? searchMoveList : nullptr;
    const int side = mainBoard.onMove;
    if (infinite) {
      limits.infinite = 1;
    } else if (moveTime > 0) {
      limits.moveTime = moveTime / 1000.0;
    } else if (times[side] >= 0) {
      SetClock(times[side], increments[side], movesToGo);
    } else {
      limits.infinite = 1;  // only depth, nodes, mate or nothing: no clock
    }
    ponderhitLimits = limits;
    if (ponder) limits.infinite = 1;
    SearchPosition(limits);
    if (bookMove != 0) {
      ProtocolLine("info string book move");
      resultMove = bookMove;
      bestLine.count = 0;
    }
  }
  WaitForRelease();
  pondering = 0;
  if (quitFlag) return;
  SendBestMove(resultMove);
}

// ---------------------------------------------------------------- position

// The placement field: eight ranks of eight squares, piece letters and
// digits only.
static int PlacementIsWellFormed(const char* text, size_t length) {
  int ranks = 1, squares = 0;
  for (size_t i = 0; i < length; i++) {
    char c = text[i];
    if (c == '/') {
      if (squares != 8) return 0;
      ranks++;
      squares = 0;
    } else if (c >= '1' && c <= '8') {
      squares += c - '0';
    } else if (strchr("PNBRQKpnbrqk", c) != nullptr) {
      squares++;
    } else {
      return 0;
    }
    if (squares > 8) return 0;
  }
  return ranks == 8 && squares == 8;
}

// Checks a FEN (placement, side to move, castling, en passant; the move
// counters may follow) and writes the position as the engine reads it into
// usable. Returns the reason it cannot be played from, nullptr when it can.
static const char* CheckFen(const char* fen, char* usable) {
  char fields[4][UCI_WORD_SIZE];
  const char* rest = fen;
  for (auto& field : fields) rest = NextWord(rest, field, sizeof field);
  // Castling and en passant may be left out: none of either.
  if (fields[2][0] == 0) strcpy(fields[2], "-");
  if (fields[3][0] == 0) strcpy(fields[3], "-");
  if (!PlacementIsWellFormed(fields[0], strlen(fields[0]))) return "the placement is not eight ranks of eight squares";
  if (strcmp(fields[1], "w") != 0 && strcmp(fields[1], "b") != 0) return "the side to move is not w or b";
  if (strcmp(fields[2], "-") != 0 && strspn(fields[2], "KQkq") != strlen(fields[2]))
    return "the castling field is not - or letters of KQkq";
  const char* ep = fields[3];
  if (strcmp(ep, "-") != 0 && !(strlen(ep) == 2 && ep[0] >= 'a' && ep[0] <= 'h' && (ep[1] == '3' || ep[1] == '6')))
    return "the en passant field is not - or a square on the third or sixth rank";

  Board board;
  board.gamePly = 0;
  char fourFields[4 * UCI_WORD_SIZE];
  snprintf(fourFields, sizeof fourFields, "%s %s %s %s", fields[0], fields[1], fields[2], fields[3]);
  ReadFen(fourFields, board);
  if (!IsGamePosition(board))
    return PopCount(board.wKing) != 1 || PopCount(board.bKing) != 1 ? "each side needs one king"
                                                                     : "the side not to move is in check";
  const u64 backRanks = 0xFF000000000000FFull;
  if ((board.wPawn | board.bPawn) & backRanks) return "a pawn stands on the first or last rank";
  // An en passant square with no pawn that just made the double step is
  // dropped.
  if (board.castleStat & EP_FLAG) {
    int fileIndex = (board.castleStat >> 4) & 7;
    int pawnSquare = board.onMove == WHITE ? 32 + fileIndex : 24 + fileIndex;
    int pawn = board.onMove == WHITE ? BPAWN : WPAWN;
    if (board.mailbox[pawnSquare] != pawn) board.castleStat &= 15;
  }
  WriteFen(board, usable);
  return nullptr;
}

static void CommandPosition(const char* args) {
  char word[UCI_WORD_SIZE];
  const char* rest = NextWord(args, word, sizeof word);
  char fen[UCI_LINE_SIZE];
  const char* fenText = nullptr;
  if (strcmp(word, "fen") == 0) {
    // The FEN runs up to the word "moves" or the end of the line.
    const char* movesWord = rest;
    char next[UCI_WORD_SIZE];
    for (;;) {
      const char* after = NextWord(movesWord, next, sizeof next);
      if (next[0] == 0 || strcmp(next, "moves") == 0) break;
      movesWord = after;
    }
    char given[UCI_LINE_SIZE];
    size_t length = (size_t)(movesWord - rest);
    memcpy(given, rest, length);
    given[length] = 0;
    const char* reason = CheckFen(given, fen);
    if (reason != nullptr) {
      ProtocolLine("info string illegal position (%s): %s", reason, given + strspn(given, " "));
      positionUsable = 0;
      return;
    }
    fenText = fen;
    rest = movesWord;
  } else if (strcmp(word, "startpos") != 0) {
    ProtocolLine("info string position needs startpos or fen, not \"%s\"", word);
    return;
  }
  const char* moves = NextWord(rest, word, sizeof word);
  if (word[0] != 0 && strcmp(word, "moves") != 0) {
    ProtocolLine("info string position: \"%s\" where moves should begin; no moves played", word);
    moves = nullptr;
  } else if (word[0] == 0) {
    moves = nullptr;
  }
  char badMove[16];
  if (!SetPosition(fenText, moves, badMove, sizeof badMove))
    ProtocolLine("info string illegal move %s: the position stands before it", badMove);
  positionUsable = 1;
}

// ---------------------------------------------------------------- options

// A whole decimal number in [low, high]; 0 with the reason when it is not.
static int SpinValue(const char* name, const char* value, int low, int high, int* result) {
  char* end = nullptr;
  errno = 0;
  long number = strtol(value, &end, 10);
  if (value[0] == 0 || *end != 0 || errno == ERANGE) {
    ProtocolLine("info string %s: \"%s\" is not a number; unchanged", name, value);
    return 0;
  }
  if (number < low || number > high) {
    ProtocolLine("info string %s: %ld is outside %d to %d; unchanged", name, number, low, high);
    return 0;
  }
  *result = (int)number;
  return 1;
}

static int CheckValue(const char* name, const char* value, int* result) {
  if (strcasecmp(value, "true") == 0) *result = 1;
  else if (strcasecmp(value, "false") == 0) *result = 0;
  else {
    ProtocolLine("info string %s: \"%s\" is not true or false; unchanged", name, value);
    return 0;
  }
  return 1;
}

static void SetBookFile(const char* value) {
  if (strlen(value) >= sizeof(bookName)) {
    ProtocolLine("info string BookFile: a name of at most %d characters; unchanged", (int)sizeof(bookName) - 1);
    return;
  }
  strcpy(bookName, value[0] == 0 || strcmp(value, "<empty>") == 0 ? "off" : value);
  OpenBook();  // says in a line what it found
}

static void SendOptions() {
  ProtocolLine("option name Hash type spin default %d min 1 max %d", HashTableMegabytes(), HASH_MEGABYTES_MAX);
  ProtocolLine("option name Ponder type check default false");
  ProtocolLine("option name OwnBook type check default %s", ownBook ? "true" : "false");
  ProtocolLine("option name BookFile type string default %s",
               bookName[0] == 0 || strcmp(bookName, "off") == 0 ? "<empty>" : bookName);
  ProtocolLine("option name Clear Hash type button");
  ProtocolLine("option name Move Overhead type spin default %d min 0 max %d", DEFAULT_MOVE_OVERHEAD,
               MAX_MOVE_OVERHEAD);
}

static void CommandSetOption(const char* args) {
  // setoption name NAME [value VALUE]: the name may hold blanks, the value
  // is the rest of the line.
  char word[UCI_WORD_SIZE];
  const char* rest = NextWord(args, word, sizeof word);
  if (strcmp(word, "name") != 0) {
    ProtocolLine("info string setoption needs: name NAME [value VALUE]");
    return;
  }
  char name[UCI_WORD_SIZE] = "";
  const char* value = "";
  for (;;) {
    const char* after = NextWord(rest, word, sizeof word);
    if (word[0] == 0) break;
    if (strcmp(word, "value") == 0) {
      value = after;
      while (isspace((unsigned char)*value)) value++;
      break;
    }
    if (name[0] != 0 && strlen(name) + 1 < sizeof name) strcat(name, " ");
    if (strlen(name) + strlen(word) < sizeof name) strcat(name, word);
    rest = after;
  }

  int number = 0;
  if (strcasecmp(name, "Hash") == 0) {
    if (SpinValue(name, value, 1, HASH_MEGABYTES_MAX, &number) && ResizeHashTable(number) != 0)
      ProtocolLine("info string Hash: not enough memory for %d MB; the table keeps %d MB", number,
                   HashTableMegabytes());
  } else if (strcasecmp(name, "Ponder") == 0) {
    CheckValue(name, value, &ponderOption);
  } else if (strcasecmp(name, "OwnBook") == 0) {
    CheckValue(name, value, &ownBook);
  } else if (strcasecmp(name, "BookFile") == 0) {
    SetBookFile(value);
  } else if (strcasecmp(name, "Clear Hash") == 0) {
    ClearSearchMemory();
  } else if (strcasecmp(name, "Move Overhead") == 0) {
    if (SpinValue(name, value, 0, MAX_MOVE_OVERHEAD, &number)) moveOverhead = number;
  } else {
    ProtocolLine("info string unknown option \"%s\"", name);
  }
}

// ---------------------------------------------------------------- commands

static void SendIdentity() {
  ProtocolLine("id name %s", VERSION_TEXT);
  ProtocolLine("id author the Quorvel developers");
  SendOptions();
  ProtocolLine("uciok");
}

static void RunCommand(const char* line) {
  char word[UCI_WORD_SIZE];
  const char* args = FirstWord(line, word);
  if (word[0] == 0) return;
  if (strcmp(word, "isready") == 0) {
    ProtocolLine("readyok");
  } else if (strcmp(word, "position") == 0) {
    CommandPosition(args);
  } else if (strcmp(word, "go") == 0) {
    CommandGo(args);
  } else if (strcmp(word, "ucinewgame") == 0) {
    NewGame();
    forceMode = 1;
    positionUsable = 1;
  } else if (strcmp(word, "setoption") == 0) {
    CommandSetOption(args);
  } else if (strcmp(word, "quit") == 0) {
    quitFlag = 1;
  } else if (strcmp(word, "uci") == 0) {
    SendIdentity();
  } else if (strcmp(word, "stop") == 0 || strcmp(word, "ponderhit") == 0 || strcmp(word, "debug") == 0 ||
             strcmp(word, "register") == 0) {
    // Nothing to stop or release; no debug output or registration.
  } else {
    ProtocolLine("info string unknown command %.100s", word);
  }
}

void RunUci() {
  StartProtocolOutput("info string ");
  thinkingHook = UciThinking;
  inputPoll = UciPoll;
  // The GUI plays the game: the engine never moves, ponders or kibitzes on
  // its own.
  forceMode = 1;
  computerSide = 2;
  ponderMode = 0;
  kibitzMode = 0;
  SetPosition(nullptr, nullptr, nullptr, 0);
  SendIdentity();
  char line[UCI_LINE_SIZE];
  while (!quitFlag) {
    if (!NextLine(line)) break;
    RunCommand(line);
  }
  quitFlag = 1;
}
