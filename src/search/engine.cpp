// The engine interface: game position, new game, stop and the default
// thinking output.
#include "search/engine.h"

#include <cstring>

#include "base/output.h"
#include "base/words.h"
#include "board/fen.h"
#include "board/movegen.h"
#include "moves/makemove.h"
#include "moves/parsemove.h"
#include "search/hash.h"
#include "search/timectl.h"

static const char* const START_POSITION = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
// Longest move word SetPosition reads; longer ones are not moves.
static const int MOVE_WORD_SIZE = 16;

void (*thinkingHook)(const ThinkingReport& report) = ShowThinking;

void ShowThinking(const ThinkingReport& report) {
  if (report.kind == THINKING_ROOT_MOVE) return;
  if (report.kind == THINKING_KIBITZ) {
    if (!inPonder && kibitzMode && report.elapsed > 10.0)
      PrintThinking(report.ply, report.elapsed, report.score, (int)report.nodes, *report.line, 0);
    return;
  }
  if (!postMode) return;
  if (inPonder) Output(OUT_CONSOLE, "# ");
  PrintThinking(report.ply, report.elapsed, report.score, (int)report.nodes, *report.line, 1);
}

void StopSearch() { endSearch = 3; }

int SetPosition(const char* fen, const char* moves, char* badMove, int badMoveSize) {
  ReadFen(fen ? fen : START_POSITION, mainBoard);
  // A set-up position is not a game from the start: the text book, which
  // knows games, does not follow it.
  mainBoard.gamePly = fen ? (mainBoard.onMove == WHITE ? 2 : 3) : 0;
  lastIrreversiblePly = mainBoard.gamePly;
  memset(gameHistory, 0, sizeof(gameHistory));
  if (fen)
    strcpy(bookLine, "8");
  else
    bookLine[0] = 0;
  if (badMoveSize > 0) badMove[0] = 0;
  char word[MOVE_WORD_SIZE];
  while (moves) {
    moves = NextWord(moves, word, sizeof word);
    if (word[0] == 0) break;
    if (!ParseUserMove(word)) {
      if (badMoveSize > 0) {
        strncpy(badMove, word, (size_t)badMoveSize - 1);
        badMove[badMoveSize - 1] = 0;
      }
      return 0;
    }
  }
  return 1;
}

int NewGame() {
  endSearch = 3;
  ReadFen(START_POSITION, mainBoard);
  mainBoard.gamePly = 0;
  computerSide = 1;
  forceMode = 0;
  comptime = opptime = baseMinutes * 60;
  ClearSearchMemory();
  bookLine[0] = 0;
  memset(gameHistory, 0, sizeof(gameHistory));
  return 1;
}

void ClearSearchMemory() {
  ClearHashTable();
  ClearHistoryAndKillers();
}

int ResizeHashTable(int megabytes) {
  uint32_t oldEntries = hashEntries;
  FreeHashTable();
  hashEntries = (uint32_t)((uint64_t)megabytes * 1000000u / sizeof(HashEntry));
  int failed = AllocateHashTable();
  if (failed) {
    hashEntries = oldEntries;
    AllocateHashTable();
  }
  ClearHashTable();
  return failed;
}

int HashTableMegabytes() { return (int)(((uint64_t)hashEntries * sizeof(HashEntry) + 500000) / 1000000); }

int HashTableFull() {
  // The first thousand entries stand for the whole table.
  uint32_t sample = hashEntries < 1000 ? hashEntries : 1000;
  if (hashTable == nullptr || sample == 0) return 0;
  uint32_t filled = 0;
  for (uint32_t i = 0; i < sample; i++)
    if (hashTable[i].key != 0) filled++;
  return (int)(filled * 1000 / sample);
}

// The table's move for the board's position, 0 when it has none. Leaves the
// search's last probed move as it was.
static Move TableMove(const Board& board) {
  Move saved = hashMove;
  hashMove = 0;
  HashProbe(0, board.hashkey, -MATE_SCORE, MATE_SCORE);
  Move found = hashMove;
  hashMove = saved;
  return found;
}

// Plays the line on a copy of mainBoard, then the table's moves, and
// returns the plies to mate, or -1 when the walk does not end in mate.
static int PliesToMate(const Line& line) {
  // The walk may run inside the search's thinking report: the attack maps
  // of the last generation are the search's and are put back.
  u64 savedFrom[64];
  memcpy(savedFrom, attackFrom, sizeof(savedFrom));
  u64 savedWhite = whiteAttacks, savedBlack = blackAttacks;
  int savedInCheck = inCheck;

  Board board = mainBoard;
  int plies = -1;
  for (int ply = 0; ply < MAX_LINE; ply++) {
    Move list[MOVE_LIST_SIZE];
    if (GenerateMoves(board, list) == 0) {
      if (inCheck) plies = ply;
      break;
    }
    Move next = ply < line.count ? line.moves[ply] : TableMove(board);
    int found = -1;
    for (int i = 0; list[i] && found < 0; i++)
      if (MoveFrom(list[i]) == MoveFrom(next) && MoveTo(list[i]) == MoveTo(next) &&
          MoveSpecial(list[i]) == MoveSpecial(next))
        found = i;
    if (found < 0) break;
    MakeMove(list[found], board);
  }

  memcpy(attackFrom, savedFrom, sizeof(savedFrom));
  whiteAttacks = savedWhite;
  blackAttacks = savedBlack;
  inCheck = savedInCheck;
  return plies;
}

int MateInMoves(int score, const Line& line) {
  int plies = PliesToMate(line);
  if (plies < 0) {
    // The winner moves last: an odd number of plies when the side to move
    // mates, an even one when it is mated.
    plies = line.count;
    if (score > 0 && plies % 2 == 0) plies++;
    if (score < 0 && plies % 2 == 1) plies++;
  }
  return score > 0 ? (plies + 1) / 2 : -(plies / 2);
}
