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

// Pawns that stand on the h-file (fileIndex 0) or the a-file (fileIndex 7).
static constexpr u64 FILE_H = 0x8080808080808080ull;
static constexpr u64 FILE_A = 0x0101010101010101ull;

// Every square strictly below (toward rank 1) or above the pieces of b on
// their files.
static inline u64 SouthSpan(u64 b) {
  b <<= 8;
  b |= b << 8;
  b |= b << 16;
  return b | (b << 32);
}
static inline u64 NorthSpan(u64 b) {
  b >>= 8;
  b |= b >> 8;
  b |= b >> 16;
  return b | (b >> 32);
}

// The kings' middle-game terms: the table and a missing shield pawn in
// front of a king castled to g1 or c1 (g8 or c8). shield lists the g-square
// and its two pawn squares, then the c-square and its two.
static const int whiteShield[6] = {G1, G2, F2, C1, C2, D2};
static const int blackShield[6] = {G8, G7, F7, C8, C7, D7};
static inline int KingMiddleGame(const int* drawn, u64 pawns, const int* shield, int s) {
  int v = At(drawn, s);
  for (int side = 0; side < 6; side += 3) {
    if (s != shield[side]) continue;
    if (!(pawns & setMask[shield[side + 1]])) v -= SHIELD_PENALTY;
    if (!(pawns & setMask[shield[side + 2]])) v -= SHIELD_PENALTY;
  }
  return v;
}

// The terms are summed piece type by piece type from the bitboards; the
// pawn terms of EvaluatePawn are counted for all pawns of a side at once.
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
  const bool middleGame = PopCount(board.wPieces | board.bPieces) >= MIDDLE_GAME_PIECES;
  const u64 wPawn = board.wPawn, bPawn = board.bPawn;

  // Pawns: material and table, a free file ahead, a pawn diagonally behind.
  score += PAWN_VALUE * (PopCount(wPawn) - PopCount(bPawn));
  for (u64 p = wPawn; p; p &= p - 1) score += At(pawnDrawn, FirstSquare(p));
  for (u64 p = bPawn; p; p &= p - 1) score -= At(pawnDrawn, 63 - FirstSquare(p));
  score += FREE_FILE_BONUS * (PopCount(wPawn & ~SouthSpan(bPawn)) - PopCount(bPawn & ~NorthSpan(wPawn)));
  const u64 wProtected = wPawn & (((wPawn >> 9) & ~FILE_H) | ((wPawn >> 7) & ~FILE_A));
  const u64 bProtected = bPawn & (((bPawn << 7) & ~FILE_H) | ((bPawn << 9) & ~FILE_A));
  score += PROTECTED_BONUS * (PopCount(wProtected) - PopCount(bProtected));

  for (u64 p = board.wKnight; p; p &= p - 1) score += KNIGHT_VALUE + At(knightDrawn, FirstSquare(p));
  for (u64 p = board.bKnight; p; p &= p - 1) score -= KNIGHT_VALUE + At(knightDrawn, 63 - FirstSquare(p));
  for (u64 p = board.wBishop; p; p &= p - 1) score += BISHOP_VALUE + At(bishopDrawn, FirstSquare(p));
  for (u64 p = board.bBishop; p; p &= p - 1) score -= BISHOP_VALUE + At(bishopDrawn, 63 - FirstSquare(p));
  score += ROOK_VALUE * (PopCount(board.wRook) - PopCount(board.bRook));
  score += QUEEN_VALUE * (PopCount(board.wQueen) - PopCount(board.bQueen));

  for (u64 p = board.wKing; p; p &= p - 1) {
    score += KING_VALUE;
    score += middleGame ? KingMiddleGame(kingWhiteDrawn, wPawn, whiteShield, FirstSquare(p))
                        : At(kingEndgameDrawn, board.wKingSquare);
  }
  for (u64 p = board.bKing; p; p &= p - 1) {
    score -= KING_VALUE;
    score -= middleGame ? KingMiddleGame(kingBlackDrawn, bPawn, blackShield, FirstSquare(p))
                        : At(kingEndgameDrawn, board.bKingSquare);
  }
  return board.onMove == WHITE ? score : -score;
}
