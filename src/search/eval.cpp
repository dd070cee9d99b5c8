// Static evaluation: material, piece-square tables, two pawn terms, a king
// shield in the middle game and square control from the attack maps.
#include "search/eval.h"

#include "board/movegen.h"
#include "board/tables.h"
#include "search/search.h"

// Piece-square tables as drawn: rank 8 first, each rank from the a-file to
// the h-file. Square s (h1 = 0, a8 = 63) is entry 63 - s of a drawn table.
static const int pawnDrawn[64] = {
     0,  0,  0,  0,  0,  0,  0,  0,
    40, 40, 40, 40, 40, 40, 40, 40,
    30, 30, 30, 30, 30, 30, 30, 30,
    20, 20, 20, 20, 20, 20, 20, 20,
    15, 15, 15, 15, 15, 15, 15, 15,
    10, 10, 10, 10, 10, 10, 10, 10,
     5,  5,  5,  5,  5,  5,  5,  5,
     0,  0,  0,  0,  0,  0,  0,  0,
};
static const int knightDrawn[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -10,   0,   6,   6,   6,   6,   0, -10,
    -10,   0,   6,  12,  12,   6,   0, -10,
    -10,   0,   6,  12,  12,   6,   0, -10,
    -10,   0,   6,   6,   6,   6,   0, -10,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -10, -30, -10, -10, -10, -10, -30, -10,
};
static const int bishopDrawn[64] = {
    -10, -10, -10, -10, -10, -10, -10, -10,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -10,   0,   5,   5,   5,   5,   0, -10,
    -10,   0,   5,  10,  10,   5,   0, -10,
    -10,   0,   5,  10,  10,   5,   0, -10,
    -10,   0,   5,   5,   5,   5,   0, -10,
    -10,   0,   0,   0,   0,   0,   0, -10,
    -10, -10, -20, -10, -10, -20, -10, -10,
};
static const int kingWhiteDrawn[64] = {
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -20, -20, -20, -20, -20, -20, -20, -20,
      0,  20,  40, -20,   0, -20,  40,  20,
};
static const int kingBlackDrawn[64] = {
      0,  20,  40, -20,   0, -20,  40,  20,
    -20, -20, -20, -20, -20, -20, -20, -20,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
    -40, -40, -40, -40, -40, -40, -40, -40,
};
static const int kingEndgameDrawn[64] = {
    -80, -60, -50, -40, -40, -50, -60, -80,
    -60, -45, -35, -20, -20, -35, -45, -60,
    -50, -35, -20, -10, -10, -20, -35, -50,
    -40, -20, -10,   0,   0, -10, -20, -40,
    -40, -20, -10,   0,   0, -10, -20, -40,
    -50, -35, -20, -10, -10, -20, -35, -50,
    -60, -45, -35, -20, -20, -35, -45, -60,
    -80, -60, -50, -40, -40, -50, -60, -80,
};

// The table entry of square s.
static inline int At(const int* drawn, int s) { return drawn[63 - s]; }

static const int PAWN_VALUE = 100;
static const int KNIGHT_VALUE = 300;
static const int BISHOP_VALUE = 330;
static const int ROOK_VALUE = 500;
static const int QUEEN_VALUE = 900;
static const int KING_VALUE = 3000;
static const int FREE_FILE_BONUS = 25;
static const int PROTECTED_BONUS = 15;
static const int SHIELD_PENALTY = 25;
static const int SQUARE_CONTROL = 4;
// From this many pieces on the board on, the king is scored as in the
// middle game.
static const int MIDDLE_GAME_PIECES = 16;

static const int G1 = 1, F2 = 10, G2 = 9, C1 = 5, C2 = 13, D2 = 12;
static const int G8 = 57, F7 = 50, G7 = 49, C8 = 61, C7 = 53, D7 = 52;

int EvaluatePawn(const Board& board, int s) {
  int r = s / 8, f = s % 8;
  int v;
  if (board.mailbox[s] == WPAWN) {
    v = At(pawnDrawn, s);
    if (!(board.bPawn & ranksAbove[r] & fileMask[f])) v += FREE_FILE_BONUS;
    if ((f != 0 && s >= 9 && (board.wPawn & setMask[s - 9])) ||
        (f != 7 && s >= 7 && (board.wPawn & setMask[s - 7])))
      v += PROTECTED_BONUS;
  } else {
    v = -At(pawnDrawn, 63 - s);
    if (!(board.wPawn & ranksBelow[r] & fileMask[f])) v -= FREE_FILE_BONUS;
    if ((f != 0 && s + 7 < 64 && (board.bPawn & setMask[s + 7])) ||
        (f != 7 && s + 9 < 64 && (board.bPawn & setMask[s + 9])))
      v -= PROTECTED_BONUS;
  }
  return v;
}

int Evaluate(const Board& board, int depth) {
  BuildAttackMaps(board);
  return EvaluateWithMaps(board, depth);
}

int EvaluateWithMaps(const Board& board, int depth) {
  // The side to move can take the opposing king: a decisive score, higher
  // the nearer to the root. A side without a king cannot be taken.
  if (board.onMove == WHITE) {
    if (board.bKingSquare != NO_SQUARE && (whiteAttacks & setMask[board.bKingSquare]))
      return depth - rootDepth + MATE_SCORE;
  } else {
    if (board.wKingSquare != NO_SQUARE && (blackAttacks & setMask[board.wKingSquare]))
      return depth - rootDepth + MATE_SCORE;
  }

  int score = SQUARE_CONTROL * PopCount(whiteAttacks) - SQUARE_CONTROL * PopCount(blackAttacks);
  bool middleGame = PopCount(board.wPieces | board.bPieces) >= MIDDLE_GAME_PIECES;

  for (int s = 0; s < 64; s++) {
    switch (board.mailbox[s]) {
      case WPAWN: score += PAWN_VALUE + EvaluatePawn(board, s); break;
      case BPAWN: score += -PAWN_VALUE + EvaluatePawn(board, s); break;
      case WKNIGHT: score += KNIGHT_VALUE + At(knightDrawn, s); break;
      case BKNIGHT: score -= KNIGHT_VALUE + At(knightDrawn, 63 - s); break;
      case WBISHOP: score += BISHOP_VALUE + At(bishopDrawn, s); break;
      case BBISHOP: score -= BISHOP_VALUE + At(bishopDrawn, 63 - s); break;
      case WROOK: score += ROOK_VALUE; break;
      case BROOK: score -= ROOK_VALUE; break;
      case WQUEEN: score += QUEEN_VALUE; break;
      case BQUEEN: score -= QUEEN_VALUE; break;
      case WKING:
        score += KING_VALUE;
        if (middleGame) {
          score += At(kingWhiteDrawn, s);
          if (s == G1) {
            if (!(board.wPawn & setMask[G2])) score -= SHIELD_PENALTY;
            if (!(board.wPawn & setMask[F2])) score -= SHIELD_PENALTY;
          } else if (s == C1) {
            if (!(board.wPawn & setMask[C2])) score -= SHIELD_PENALTY;
            if (!(board.wPawn & setMask[D2])) score -= SHIELD_PENALTY;
          }
        } else {
          score += At(kingEndgameDrawn, board.wKingSquare);
        }
        break;
      case BKING:
        score -= KING_VALUE;
        if (middleGame) {
          score -= At(kingBlackDrawn, s);
          if (s == G8) {
            if (!(board.bPawn & setMask[G7])) score += SHIELD_PENALTY;
            if (!(board.bPawn & setMask[F7])) score += SHIELD_PENALTY;
          } else if (s == C8) {
            if (!(board.bPawn & setMask[C7])) score += SHIELD_PENALTY;
            if (!(board.bPawn & setMask[D7])) score += SHIELD_PENALTY;
          }
        } else {
          score -= At(kingEndgameDrawn, board.bKingSquare);
        }
        break;
      default: break;
    }
  }
  return board.onMove == WHITE ? score : -score;
}
