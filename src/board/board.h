// The position record, piece codes, the move word and the bitboard walk.
//
// Squares: square = rank * 8 + fileIndex, rank 0 is White's back rank and
// fileIndex 0 is the h-file, so h1 = 0, a1 = 7, e1 = 3, e8 = 59, a8 = 63.
// Square s is bit (63 - s) of a bitboard; 64 means "no square".
// Board layer: uses the base and the board layer only.
#pragma once

#include <cstdint>

typedef uint64_t u64;
typedef uint32_t Move;

// Piece codes. (code & 15) is the type, (code & 16) marks Black; types with
// bit 2 set are sliders, bit 0 moves diagonally, bit 1 moves straight.
enum PieceCode : int {
  EMPTY = 0,
  WPAWN = 1, WKNIGHT = 2, WKING = 3, WBISHOP = 5, WROOK = 6, WQUEEN = 7,
  BPAWN = 17, BKNIGHT = 18, BKING = 19, BBISHOP = 21, BROOK = 22, BQUEEN = 23
};

enum PieceType : int { PAWN = 1, KNIGHT = 2, KING = 3, BISHOP = 5, ROOK = 6, QUEEN = 7 };

constexpr int WHITE = 0;
constexpr int BLACK = 1;
constexpr int NO_SQUARE = 64;

// castleStat: bits 0..3 castling rights, bit 7 en passant available,
// bits 4..6 fileIndex of the pawn that just advanced two squares.
constexpr int CASTLE_WK = 1;
constexpr int CASTLE_WQ = 2;
constexpr int CASTLE_BK = 4;
constexpr int CASTLE_BQ = 8;
constexpr int EP_FLAG = 128;

struct Board {
  u64 wKing, wQueen, wBishop, wKnight, wRook, wPawn;
  u64 bKing, bQueen, bBishop, bKnight, bRook, bPawn;
  u64 wPieces, bPieces;
  u64 occupiedA1H8, occupiedH1A8, occupiedL90;
  int32_t onMove;
  int32_t castleStat;
  int32_t gamePly;
  int32_t wKingSquare, bKingSquare;
  int32_t mailbox[65];  // slot 64 is a spare that always holds 0
  u64 hashkey;
};

extern Board mainBoard;

// The move word:
//   bits  0- 4  captured piece code (0 for quiet moves and en passant)
//   bits  5-10  to square
//   bits 11-15  moving piece code
//   bits 16-21  from square
//   bits 22-31  special: promotion piece code, 0x100 king-side castling,
//               0x200 queen-side castling; while a move is made, bits 22-29
//               hold the castleStat from before the move.
constexpr uint32_t SPECIAL_SHIFT = 22;
constexpr uint32_t SPECIAL_MASK = 0xFFC00000u;
constexpr int CASTLE_KINGSIDE = 0x100;
constexpr int CASTLE_QUEENSIDE = 0x200;

constexpr Move WHITE_CASTLE_KINGSIDE = 0x40031820u;
constexpr Move WHITE_CASTLE_QUEENSIDE = 0x800318A0u;
constexpr Move BLACK_CASTLE_KINGSIDE = 0x403B9F20u;
constexpr Move BLACK_CASTLE_QUEENSIDE = 0x803B9FA0u;

inline constexpr int MoveCaptured(Move m) { return (int)(m & 31); }
inline constexpr int MoveTo(Move m) { return (int)((m >> 5) & 63); }
inline constexpr int MovePiece(Move m) { return (int)((m >> 11) & 31); }
inline constexpr int MoveFrom(Move m) { return (int)((m >> 16) & 63); }
inline constexpr int MoveSpecial(Move m) { return (int)(m >> SPECIAL_SHIFT); }

inline constexpr Move MakeMoveWord(int from, int to, int piece, int captured, int special) {
  return ((Move)special << SPECIAL_SHIFT) | ((Move)from << 16) | ((Move)piece << 11) |
         ((Move)to << 5) | (Move)captured;
}

static_assert(MakeMoveWord(3, 1, WKING, 0, CASTLE_KINGSIDE) == WHITE_CASTLE_KINGSIDE);
static_assert(MakeMoveWord(3, 5, WKING, 0, CASTLE_QUEENSIDE) == WHITE_CASTLE_QUEENSIDE);
static_assert(MakeMoveWord(59, 57, BKING, 0, CASTLE_KINGSIDE) == BLACK_CASTLE_KINGSIDE);
static_assert(MakeMoveWord(59, 61, BKING, 0, CASTLE_QUEENSIDE) == BLACK_CASTLE_QUEENSIDE);

// Square of the lowest set bit, that is the highest-numbered square of the
// board. The board must not be empty. Same answer as the 16-bit chunk scan
// over firstOne16, done with one bit-scan instruction.
inline int FirstSquare(u64 b) { return 63 - __builtin_ctzll(b); }

inline int PopCount(u64 b) { return __builtin_popcountll(b); }
