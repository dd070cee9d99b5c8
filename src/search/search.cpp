// Negamax alpha-beta search with a fail-hard window, depth in tenths of a
// ply, null move, fractional extensions, killer and history ordering.
#include "search/search.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "base/clock.h"
#include "base/output.h"
#include "base/poll.h"
#include "board/fen.h"
#include "board/hashkeys.h"
#include "board/movegen.h"
#include "board/tables.h"
#include "moves/makemove.h"
#include "moves/movetext.h"
#include "search/hash.h"
#include "search/quiesce.h"
#include "search/think.h"

uint32_t history[64][64];
Move killerMove[MAX_KILLER_PLY];
int killerPly = 0;
int rootDepth = 0;
uint64_t nodeLimit = UINT64_MAX;
int selDepth = 0;

int bestRoot = 0;
int bestRootScore = 0;
int rootMoveIndex = 0;
Line solutionLine;
double solutionTime = 0;
uint64_t solutionNodes = 0;
int solutionDepth = 0;

static const int MATED_SCORE = -32000;
static const int NULL_MOVE_MIN_DEPTH = 29;
static const int NULL_MOVE_REDUCTION = 30;
static const int NULL_MOVE_MIN_PIECES = 10;
static const int CAPTURE_EXTENSION = 6;
static const int CHECK_EXTENSION = 7;
static const int SINGLE_REPLY_EXTENSION = 8;
static const int MAX_EXTENSION = 9;
static const uint32_t HISTORY_LIMIT = 4222333;
// The root's move count stands for "no single-reply extension" and, as the
// best index, for "no move raised alpha".
static const int ROOT_MOVE_COUNT = 299;

void ClearHistoryAndKillers() {
  memset(history, 0, sizeof(history));
  memset(killerMove, 0, sizeof(killerMove));
  killerPly = 0;
}

static void RescaleHistory() {
  for (auto& row : history)
    for (auto& counter : row) counter >>= 8;
}

void DumpSearchError(const Board& board, const Move& move) {
  DisplayBoard(board, 0);
  DisplayBoard(board, 1);
  PrintMove(OUT_CONSOLE | OUT_LOG, move);
  Output(OUT_CONSOLE | OUT_LOG, "\n");
  char fen[FEN_SIZE];
  WriteFen(board, fen);
  printf("FEN: %s\n", fen);
}

// An earlier position of the game or of the search path with this key.
static bool IsRepetition(const Board& board) {
  int last = board.gamePly - 2;
  if (last >= GAME_HISTORY_SIZE) last = GAME_HISTORY_SIZE - 1;
  for (int i = last; i >= 0; i--)
    if (gameHistory[i].hashkey == board.hashkey) return true;
  return false;
}

static bool NullMoveAllowed(const Board& board, int depth, bool root, int nullFlag, int nodeInCheck) {
  if (depth < NULL_MOVE_MIN_DEPTH || root || nullFlag || nodeInCheck) return false;
  if (PopCount(board.wPieces | board.bPieces) < NULL_MOVE_MIN_PIECES) return false;
  if (board.wKingSquare == NO_SQUARE || board.bKingSquare == NO_SQUARE) return false;
  // A pawn next to a king can be the start of a mate the null move hides.
  if (kingAttacks[board.wKingSquare] & board.bPawn) return false;
  if (kingAttacks[board.bKingSquare] & board.wPawn) return false;
  return true;
}

static void AddHistory(Move m, int depth, const char* overflowFormat) {
  uint32_t& counter = history[MoveFrom(m)][MoveTo(m)];
  counter += (uint32_t)(depth * depth / 64);
  if (counter > HISTORY_LIMIT) {
    printf(overflowFormat, (int)nodes);
    RescaleHistory();
  }
}

int Search(Board& board, int depth, int alpha, int beta, int nullFlag, Line& line) {
  const bool root = depth >= rootDepth;
  if (killerPly > selDepth) selDepth = killerPly;

  // Step 1. Repetition: one earlier occurrence scores as a draw; the root
  // position itself is always searched.
  if (!root && IsRepetition(board)) {
    line.count = 0;
    return 0;
  }

  // Step 2. Transposition table; a usable score ends the node below the root.
  int hashf = HASH_UPPER;
  int r = HashProbe(depth, board.hashkey, alpha, beta);
  if (r != HASH_MISS) {
    line.count = 0;
    if (!root) return r;
  }

  // Step 3. Depth used up: resolve the captures.
  if (depth <= 3) {
    line.count = 0;
    return Quiesce(board, depth, alpha, beta);
  }

  // Step 4. Moves: generated and ordered below the root; the root keeps the
  // think driver's list and its order.
  Move list[MOVE_LIST_SIZE];
  int keys[MOVE_LIST_SIZE];
  int n;
  int nodeInCheck;
  if (root) {
    memcpy(list, rootMoves, 255 * sizeof(Move));
    list[255] = 0;
    n = ROOT_MOVE_COUNT;
    nodeInCheck = rootInCheck;
  } else {
    n = GenerateMoves(board, list);
    nodeInCheck = inCheck;
    // The probe above has set hashMove for this position. The moves are
    // brought into order one at a time as the loop reaches them: most nodes
    // end after the first few.
    ScoreMoves(list, n, keys);
  }

  // Step 5-6. No legal move: mated (scored by distance from the root) or
  // stalemate.
  int best = n;
  if (list[0] == 0) {
    line.count = 0;
    int king = board.onMove == WHITE ? board.wKingSquare : board.bKingSquare;
    u64 enemy = board.onMove == WHITE ? blackAttacks : whiteAttacks;
    int score = (king != NO_SQUARE && (enemy & setMask[king])) ? rootDepth - depth + MATED_SCORE : 0;
    return score > alpha ? score : alpha;
  }

  Line local;
  local.count = 0;

  // Step 7. Null move: let the opponent move twice; if that still fails to
  // reach beta, this node is good enough to cut.
  if (NullMoveAllowed(board, depth, root, nullFlag, nodeInCheck)) {
    int savedCastle = board.castleStat;
    u64 savedKey = board.hashkey;
    int savedOnMove = board.onMove;
    board.hashkey ^= sideKey;
    if (board.castleStat & EP_FLAG) board.hashkey ^= epKeys[(board.castleStat >> 4) & 7];
    board.castleStat &= 15;
    board.onMove = 1 - board.onMove;
    HashPrefetch(board.hashkey);
    int v = -Search(board, depth - NULL_MOVE_REDUCTION, -beta, -beta + 1, 1, local);
    board.castleStat = savedCastle;
    board.hashkey = savedKey;
    board.onMove = savedOnMove;
    if (v >= beta) return beta;
  }

  // Step 8. The moves.
  if (!root) SelectMove(list, keys, n, 0);
  for (int i = 0; list[i]; i++) {
    // A stopped search enters no further node, so a node limit holds exactly.
    if (endSearch == 3) return alpha;
    // The next move is brought into place now, so that its table entry can
    // be on its way while this move is searched.
    if (!root && list[i + 1]) {
      SelectMove(list, keys, n, i + 1);
      HashPrefetch(KeyAfterMove(board, list[i + 1]));
    }
    const Move m = list[i];
    if (root) rootMoveIndex = i;
    if (root) ReportRootMove(m, i + 1);
    u64 savedKey = board.hashkey;
    MakeMove(list[i], board);
    HashPrefetch(board.hashkey);
    CountNode();
    if (searchError) {
      printf("Search ErrorS tracing back to depth %d.\n", depth);
      DumpSearchError(board, m);
      return 0;
    }

    // Captures, check evasions and forced replies are extended; a ply
    // always costs at least one tenth.
    int e = 0;
    if (MoveCaptured(m)) e += CAPTURE_EXTENSION;
    if (nodeInCheck) e += CHECK_EXTENSION;
    if (n == 1) e += SINGLE_REPLY_EXTENSION;
    if (e >= 10) e = MAX_EXTENSION;

    int savedPly = killerPly;
    if (killerPly < MAX_KILLER_PLY - 1) killerPly++;
    int v = -Search(board, depth - 10 + e, -beta, -alpha, 0, local);
    killerPly = savedPly;

    UnmakeMove(list[i], board);
    if (board.hashkey != savedKey) {
      printf("Hashing problem: was %" PRIX64 " now %" PRIX64 "\n", savedKey, board.hashkey);
      DisplayBoard(board, 0);
      DisplayBoard(board, 0);
      PrintMove(OUT_CONSOLE | OUT_LOG, m);
      Output(OUT_CONSOLE | OUT_LOG, "\n");
    }
    if (searchError) {
      printf("Search ErrorT tracing back to depth %d.\n", depth);
      DumpSearchError(board, m);
      return 0;
    }

    if (v >= beta) {
      HashStore(board.hashkey, depth, beta, HASH_LOWER, list, i);
      killerMove[killerPly] = m;
      AddHistory(m, depth, "History overflow: n=%d\n");
      return beta;
    }

    if (v > alpha) {
      line.moves[0] = m;
      int count = local.count < MAX_LINE - 1 ? local.count : MAX_LINE - 1;
      memcpy(line.moves + 1, local.moves, (size_t)count * sizeof(Move));
      line.count = count + 1;
      alpha = v;
      hashf = HASH_EXACT;
      best = i;
      if (root && endSearch < 3) {
        bestRoot = i;
        bestRootScore = v;
        double t = ElapsedSince(searchStartTime);
        ReportThinking(THINKING_NEW_BEST, rootDepth / 10, t, v, line);
        if (t <= comptime) {
          solutionLine = line;
          solutionTime = t;
          solutionNodes = nodes;
          solutionDepth = rootDepth / 10;
        }
      }
    }

    // Stop test: level 3 stops every node; levels 1 and 2 end the root's
    // move loop from the second iteration on.
    if (endSearch == 3) return alpha;
    if ((endSearch == 1 || endSearch == 2) && inSearch > 1 && root) return alpha;

    if (i == 251) {
      printf("Error: more than 250 moves\n");
      return alpha;
    }
  }

  // Step 9. Store the result; the best move becomes the killer and earns
  // history.
  if (best > 200 && depth == 10 && rootDepth == 10) {
    printf("in Spot J2; depth %d  alpha %d  beta %d  hashf %d  best %d:\n", depth, alpha, beta, hashf, best);
    printf("inSearch=%d endSearch=%d inPonder=%d\n", inSearch, endSearch, inPonder);
    int movenum = 0;
    while (list[movenum]) movenum++;
    printf("ErrorJ: best=%d movenum=%d\n", best, movenum);
    DisplayBoard(board, 1);
    PrintMoveList(list);
  }
  static const Move noMove[1] = {0};
  const Move* bestList = best < MOVE_LIST_SIZE ? list : noMove;
  int bestIndex = best < MOVE_LIST_SIZE ? best : 0;
  HashStore(board.hashkey, depth, alpha, hashf, bestList, bestIndex);
  killerMove[killerPly] = bestList[bestIndex];
  if (best < 200) AddHistory(bestList[bestIndex], depth, "hist2 overflow n=%d\n");
  return alpha;
}
