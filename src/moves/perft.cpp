// Perft and divide: leaf counts of the legal move tree of mainBoard.
#include "moves/perft.h"

#include <cinttypes>
#include <cstdio>

#include "base/clock.h"
#include "base/state.h"
#include "board/movegen.h"
#include "board/tables.h"
#include "moves/makemove.h"
#include "moves/movetext.h"

int checkSide;

static char LetterOf(int code) { return code >= 0 && code < 24 ? pieceLetters[code] : ' '; }

// Counts the leaves below mainBoard into nodes. In a set-up position where a
// king can be captured, MakeMove refuses that move (and reports it); the
// count then unwinds, unmaking only the moves that were made, and answers 0.
int PerftCount(int depth) {
  if (depth <= 0) {
    nodes++;
    return 1;
  }
  Move list[MOVE_LIST_SIZE + 1];
  GenerateMoves(mainBoard, list);
  for (int i = 0; list[i] != 0; i++) {
    if (!MakeMove(list[i], mainBoard)) return 0;
    int done;
    if (depth == 1) {
      nodes++;
      done = 1;
    } else {
      done = PerftCount(depth - 1);
    }
    UnmakeMove(list[i], mainBoard);
    if (!done) return 0;
    if (i > MOVE_LIST_LIMIT) {
      printf("Error: more than 250 moves.\n");
      break;
    }
  }
  return 1;
}

uint64_t perft(int depth) {
  nodes = 0;
  const double start = ReadClock();
  PerftCount(depth);
  const double elapsed = ElapsedSince(start);
  const uint64_t total = nodes;
  if (elapsed > 0.01) {
    printf("perft %d: %" PRIu64 " nodes   %lf seconds  %d kNPS\n", depth, total, elapsed,
           (int)((double)total * 0.001 / elapsed));
  } else {
    printf("perft %d: %" PRIu64 " nodes   %lf seconds\n", depth, total, elapsed);
  }
  return total;
}

void divide(int depth) {
  uint64_t total = 0;
  const double start = ReadClock();
  Move list[MOVE_LIST_SIZE];
  GeneratePseudoMoves(mainBoard, list);
  for (int i = 0; list[i] != 0; i++) {
    const Move generated = list[i];
    checkSide = mainBoard.onMove;
    if (!MakeMove(list[i], mainBoard)) break;  // a king can be captured: not a position to count
    int done = 1;
    if (!MoverInCheck(mainBoard)) {
      nodes = 0;
      done = PerftCount(depth - 1);
      char text[8];
      MoveToText(generated, text);
      printf("move %d  (%c)%s(%c): %" PRIu64 "\n", i, LetterOf(MovePiece(generated)), text,
             LetterOf(MoveCaptured(generated)), nodes);
      total += nodes;
    }
    UnmakeMove(list[i], mainBoard);
    if (!done) break;
  }
  printf("perft %d: %" PRIu64 " nodes   %lf seconds\n", depth, total, ElapsedSince(start));
}

// Whether the king of colour checkSide is attacked, found from the king's
// square outward with no help from the attack maps.
int MoverInCheck(const Board& b) {
  const int white = checkSide == WHITE;
  const int k = white ? b.wKingSquare : b.bKingSquare;
  if (k < 0 || k >= NO_SQUARE) return 0;
  const u64 occupied = b.wPieces | b.bPieces;
  const u64 knights = white ? b.bKnight : b.wKnight;
  const u64 diagonal = white ? (b.bBishop | b.bQueen) : (b.wBishop | b.wQueen);
  const u64 straight = white ? (b.bRook | b.bQueen) : (b.wRook | b.wQueen);
  const u64 pawns = white ? b.bPawn : b.wPawn;
  const u64 king = white ? b.bKing : b.wKing;

  if (knightAttacks[k] & knights) return 1;
  for (u64 p = diagonal; p; p &= p - 1) {
    const int s = FirstSquare(p);
    const int d = direction[k][s];
    if ((d == 7 || d == -7 || d == 9 || d == -9) && !(between[k][s] & occupied)) return 1;
  }
  for (u64 p = straight; p; p &= p - 1) {
    const int s = FirstSquare(p);
    const int d = direction[k][s];
    if ((d == 1 || d == -1 || d == 8 || d == -8) && !(between[k][s] & occupied)) return 1;
  }
  const int file = k & 7;
  if (white) {
    if (file != 0 && k + 7 < 64 && (pawns & setMask[k + 7])) return 1;
    if (file != 7 && k + 9 < 64 && (pawns & setMask[k + 9])) return 1;
  } else {
    if (file != 7 && k - 7 >= 0 && (pawns & setMask[k - 7])) return 1;
    if (file != 0 && k - 9 >= 0 && (pawns & setMask[k - 9])) return 1;
  }
  if (kingAttacks[k] & king) return 1;
  return 0;
}
