// Attack maps, pseudo-legal and legal move generation.
//
// The legal generator never makes a move: it reads checks and pins off the
// attack maps and the line tables, and filters the moves as it emits them, in
// the order the pseudo-legal generator produces them.
#include "board/movegen.h"

#include <cstring>

#include "board/tables.h"

u64 attackFrom[64];
u64 whiteAttacks;
u64 blackAttacks;
int inCheck;

// File masks in the plain layout (square s is bit 63 - s).
static constexpr u64 FILE_H = 0x8080808080808080ull;  // fileIndex 0
static constexpr u64 FILE_A = 0x0101010101010101ull;  // fileIndex 7
static constexpr u64 RANK_4 = 0x000000FF00000000ull;  // squares 24..31
static constexpr u64 RANK_6 = 0x0000000000FF0000ull;  // squares 40..47

static inline u64 SquareBit(int s) { return 0x8000000000000000ull >> s; }

// Squares attacked by pawns of each colour, empty or not.
static inline u64 WhitePawnAttacks(u64 pawns) {
  return ((pawns >> 9) & ~FILE_H) | ((pawns >> 7) & ~FILE_A);
}
static inline u64 BlackPawnAttacks(u64 pawns) {
  return ((pawns << 7) & ~FILE_H) | ((pawns << 9) & ~FILE_A);
}

// The square a white (black) pawn may capture onto en passant, as a one-bit
// board, or 0. The flag alone is not enough: a set-up position may name an
// en passant file without the pawn that would be captured, and taking a pawn
// that is not there would corrupt the board.
static inline u64 WhiteEnPassantTarget(const Board& b) {
  if (!(b.castleStat & EP_FLAG)) return 0;
  int file = (b.castleStat >> 4) & 7;
  u64 target = SquareBit(40 + file);
  if ((b.bPawn & SquareBit(32 + file)) && !((b.wPieces | b.bPieces) & target)) return target;
  return 0;
}
static inline u64 BlackEnPassantTarget(const Board& b) {
  if (!(b.castleStat & EP_FLAG)) return 0;
  int file = (b.castleStat >> 4) & 7;
  u64 target = SquareBit(16 + file);
  if ((b.wPawn & SquareBit(24 + file)) && !((b.wPieces | b.bPieces) & target)) return target;
  return 0;
}

int IsGamePosition(const Board& board) {
  if (PopCount(board.wKing) != 1 || PopCount(board.bKing) != 1) return 0;
  BuildAttackMaps(board);
  // The side to move must not be able to capture the king.
  return board.onMove == WHITE ? (whiteAttacks & board.bKing) == 0 : (blackAttacks & board.wKing) == 0;
}

void BuildAttackMaps(const Board& b) {
  memset(attackFrom, 0, sizeof attackFrom);
  const u64 occupied = b.wPieces | b.bPieces;
  u64 white = 0;
  u64 black = 0;

  for (u64 p = b.wKnight; p; p &= p - 1) {
    int s = FirstSquare(p);
    white |= attackFrom[s] = knightAttacks[s];
  }
  for (u64 p = b.bKnight; p; p &= p - 1) {
    int s = FirstSquare(p);
    black |= attackFrom[s] = knightAttacks[s];
  }
  for (u64 p = b.wKing; p; p &= p - 1) {
    int s = FirstSquare(p);
    white |= attackFrom[s] = kingAttacks[s];
  }
  for (u64 p = b.bKing; p; p &= p - 1) {
    int s = FirstSquare(p);
    black |= attackFrom[s] = kingAttacks[s];
  }
  for (u64 p = b.wBishop; p; p &= p - 1) {
    int s = FirstSquare(p);
    white |= attackFrom[s] = BishopAttacksOf(b, s);
  }
  for (u64 p = b.bBishop; p; p &= p - 1) {
    int s = FirstSquare(p);
    black |= attackFrom[s] = BishopAttacksOf(b, s);
  }
  for (u64 p = b.wRook; p; p &= p - 1) {
    int s = FirstSquare(p);
    white |= attackFrom[s] = RookAttacksOf(b, s);
  }
  for (u64 p = b.bRook; p; p &= p - 1) {
    int s = FirstSquare(p);
    black |= attackFrom[s] = RookAttacksOf(b, s);
  }
  for (u64 p = b.wQueen; p; p &= p - 1) {
    int s = FirstSquare(p);
    white |= attackFrom[s] = BishopAttacksOf(b, s) | RookAttacksOf(b, s);
  }
  for (u64 p = b.bQueen; p; p &= p - 1) {
    int s = FirstSquare(p);
    black |= attackFrom[s] = BishopAttacksOf(b, s) | RookAttacksOf(b, s);
  }

  // Pawns attack only what they could capture: occupied squares and the en
  // passant target.
  const u64 whiteTargets = occupied | WhiteEnPassantTarget(b);
  for (u64 p = b.wPawn; p; p &= p - 1) {
    int s = FirstSquare(p);
    white |= attackFrom[s] = WhitePawnAttacks(SquareBit(s)) & whiteTargets;
  }
  const u64 blackTargets = occupied | BlackEnPassantTarget(b);
  for (u64 p = b.bPawn; p; p &= p - 1) {
    int s = FirstSquare(p);
    black |= attackFrom[s] = BlackPawnAttacks(SquareBit(s)) & blackTargets;
  }

  whiteAttacks = white;
  blackAttacks = black;
}

int EnPassantExposes(const Board& b, Move move) {
  const int from = MoveFrom(move);
  const int to = MoveTo(move);
  const int white = b.onMove == WHITE;
  const int king = white ? b.wKingSquare : b.bKingSquare;
  if (king >= NO_SQUARE || king < 0) return 0;
  const int taken = white ? to - 8 : to + 8;
  if (taken < 0 || taken >= 64) return 0;

  // The occupancy the capture leaves, in all four layouts.
  const u64 occupied = ((b.wPieces | b.bPieces) & ~setMask[from] & ~setMask[taken]) | setMask[to];
  const u64 l90 = (b.occupiedL90 & ~setMaskL90[from] & ~setMaskL90[taken]) | setMaskL90[to];
  const u64 a1h8 = (b.occupiedA1H8 & ~setMaskA1H8[from] & ~setMaskA1H8[taken]) | setMaskA1H8[to];
  const u64 h1a8 = (b.occupiedH1A8 & ~setMaskH1A8[from] & ~setMaskH1A8[taken]) | setMaskH1A8[to];

  const u64 straight = white ? (b.bRook | b.bQueen) : (b.wRook | b.wQueen);
  const u64 diagonal = white ? (b.bBishop | b.bQueen) : (b.wBishop | b.wQueen);
  if ((RankAttacksOf(king, occupied) | FileAttacksOf(king, l90)) & straight) return 1;
  if ((DiagA1H8AttacksOf(king, a1h8) | DiagH1A8AttacksOf(king, h1a8)) & diagonal) return 1;
  return 0;
}

int IsPinnedMove(Board b, int kingSquare, const Move* list, int index, u64 enemyAttacks,
                 int enemyColour) {
  const Move move = list[index];
  const int from = MoveFrom(move);
  const int to = MoveTo(move);
  if (kingSquare < 0 || kingSquare >= 64) return 0;
  if (!(enemyAttacks & setMask[from])) return 0;
  const int d = direction[kingSquare][from];
  if (d == 0) return 0;
  if (between[kingSquare][from] & (b.wPieces | b.bPieces)) return 0;

  const int step = d < 0 ? -d : d;
  int previous = from;
  for (int q = from + d;; previous = q, q += d) {
    if (q < 0 || q >= 64) return 0;
    if (q == to) return 0;
    if (step == 1) {
      if ((q >> 3) != (from >> 3)) return 0;  // ran off the rank
    } else if (step == 7 || step == 9) {
      int rankStep = (q >> 3) - (previous >> 3);
      if (rankStep != 1 && rankStep != -1) return 0;  // wrapped round the edge
    }
    // The destination stays on the line between the king and q.
    if (direction[to][q] == direction[from][q]) return 0;
    const int piece = b.mailbox[q];
    if (piece == 0) continue;
    if (piece == (QUEEN | enemyColour)) return 1;
    if (piece == (BISHOP | enemyColour) && (step == 7 || step == 9)) return 1;
    if (piece == (ROOK | enemyColour) && (step == 1 || step == 8)) return 1;
    return 0;
  }
}

namespace {

// What the legal filter knows about the side to move's king.
struct KingSafety {
  int king;
  int checks;        // number of pieces giving check
  u64 danger;        // squares the king may not step onto
  u64 pinned;        // own pieces pinned to the king
  u64 evasion;       // single check: the checker and the squares between it and the king
  int checker;       // single check: the checker's square
};

}  // namespace

template <bool Legal>
static int Generate(const Board& b, Move* list) {
  const int side = b.onMove;
  if (side != WHITE && side != BLACK) return 0;
  const int king = side == WHITE ? b.wKingSquare : b.bKingSquare;
  if (king < 0 || king >= NO_SQUARE) return 0;

  BuildAttackMaps(b);

  const u64 own = side == WHITE ? b.wPieces : b.bPieces;
  const u64 occupied = b.wPieces | b.bPieces;
  const u64 empty = ~occupied;
  const u64 enemyAttacks = side == WHITE ? blackAttacks : whiteAttacks;
  const int enemyColour = side == WHITE ? 16 : 0;
  const u64 epTarget = side == WHITE ? WhiteEnPassantTarget(b) : BlackEnPassantTarget(b);

  KingSafety ks{king, 0, 0, 0, 0, NO_SQUARE};
  if (Legal) {
    const u64 enemyPawns = side == WHITE ? b.bPawn : b.wPawn;
    ks.danger = enemyAttacks | (side == WHITE ? BlackPawnAttacks(enemyPawns) : WhitePawnAttacks(enemyPawns));
    const u64 kingBit = SquareBit(king);
    if (enemyAttacks & kingBit) {
      inCheck = 1;
      const u64 enemy = side == WHITE ? b.bPieces : b.wPieces;
      const int enemyPawn = PAWN | enemyColour;
      for (u64 e = enemy; e; e &= e - 1) {
        const int s = FirstSquare(e);
        if (!(attackFrom[s] & kingBit)) continue;
        ks.checks++;
        ks.checker = s;
        // The square straight behind the king, seen from a checker that
        // reaches it along a line, stays attacked once the king steps there;
        // only a pawn's check does not reach past the king.
        const int d = direction[king][s];
        if (d != 0 && b.mailbox[king + d] != enemyPawn) {
          const int away = king - d;
          if (away >= 0 && away < 64) ks.danger |= SquareBit(away);
        }
      }
      if (ks.checks == 1) ks.evasion = SquareBit(ks.checker) | between[king][ks.checker];
    }
    // Pins: an enemy slider on a line through the king with exactly one
    // piece, our own, between them.
    const u64 straight = side == WHITE ? (b.bRook | b.bQueen) : (b.wRook | b.wQueen);
    const u64 diagonal = side == WHITE ? (b.bBishop | b.bQueen) : (b.wBishop | b.wQueen);
    u64 snipers = (straight & (RankAttacksOf(king, 0) | FileAttacksOf(king, 0))) |
                  (diagonal & (DiagA1H8AttacksOf(king, 0) | DiagH1A8AttacksOf(king, 0)));
    for (; snipers; snipers &= snipers - 1) {
      const u64 blockers = between[king][FirstSquare(snipers)] & occupied;
      if (blockers && !(blockers & (blockers - 1)) && (blockers & own)) ks.pinned |= blockers;
    }
  }

  int count = 0;
  auto add = [&](Move m) {
    if (count < MOVE_LIST_SIZE - 1) list[count++] = m;
  };
  // A pinned piece keeps only the destinations on its pin line.
  auto onPinLine = [&](int from, int to) { return direction[king][to] == direction[king][from]; };
  // Legality of an en passant capture onto the empty square to.
  auto enPassantLegal = [&](Move m) {
    if (ks.checks >= 2) return false;
    if (ks.checks == 1) {
      const int to = MoveTo(m);
      const int taken = side == WHITE ? to - 8 : to + 8;
      if (taken != ks.checker && !(ks.evasion & SquareBit(to))) return false;
    }
    return EnPassantExposes(b, m) == 0;
  };
  const int queen = QUEEN | (side << 4);
  const int promotions[4] = {queen, queen - 1, queen - 5, queen - 2};  // Q, R, N, B
  auto addPawnMove = [&](Move word, int to) {
    if (to >= 56 || to < 8) {
      for (int p : promotions) add(word | ((Move)p << SPECIAL_SHIFT));
    } else {
      add(word);
    }
  };

  // Piece moves and pawn captures, squares from h1 upward.
  for (u64 pieces = own; pieces; pieces ^= SquareBit(__builtin_clzll(pieces))) {
    const int from = __builtin_clzll(pieces);
    const int piece = b.mailbox[from];
    u64 targets = attackFrom[from] & ~own;
    u64 enPassant = 0;
    if ((piece & 15) == PAWN) {
      enPassant = targets & epTarget;
      targets &= ~epTarget;
    }
    if (Legal) {
      if (from == king) {
        targets &= ~ks.danger;
      } else if (ks.checks >= 2) {
        targets = 0;
      } else {
        if (ks.checks == 1) targets &= ks.evasion;
        if (ks.pinned & SquareBit(from)) {
          for (u64 t = targets; t; t &= t - 1) {
            if (!onPinLine(from, FirstSquare(t))) targets &= ~(t & -t);
          }
        }
      }
    }
    const Move base = ((Move)from << 16) | ((Move)piece << 11);
    if (enPassant && (!Legal || enPassantLegal(base | ((Move)FirstSquare(enPassant) << 5)))) {
      targets |= enPassant;
    }
    if ((piece & 15) == PAWN) {
      for (; targets; targets &= targets - 1) {
        const int to = FirstSquare(targets);
        addPawnMove(base | ((Move)to << 5) | (Move)b.mailbox[to], to);
      }
    } else {
      for (; targets; targets &= targets - 1) {
        const int to = FirstSquare(targets);
        add(base | ((Move)to << 5) | (Move)b.mailbox[to]);
      }
    }
  }

  // Pawn advances: single steps, then double steps.
  if (!Legal || ks.checks < 2) {
    const u64 pawns = side == WHITE ? b.wPawn : b.bPawn;
    const int pawn = PAWN | (side << 4);
    const int back = side == WHITE ? -8 : 8;  // from = to + back
    const u64 single = (side == WHITE ? pawns >> 8 : pawns << 8) & empty;
    const u64 twice = side == WHITE ? ((single >> 8) & empty & RANK_4)
                                    : (((single & RANK_6) << 8) & empty);
    for (int step = 1; step <= 2; step++) {
      u64 targets = step == 1 ? single : twice;
      if (Legal && ks.checks == 1) targets &= ks.evasion;
      for (; targets; targets &= targets - 1) {
        const int to = FirstSquare(targets);
        const int from = to + back * step;
        if (Legal && (ks.pinned & SquareBit(from)) && !onPinLine(from, to)) continue;
        addPawnMove(((Move)from << 16) | ((Move)pawn << 11) | ((Move)to << 5), to);
      }
    }
  }

  // Castling, king side first. The king may not start on, pass or land on an
  // attacked square; the danger set covers pawn attacks on empty squares.
  {
    const u64 danger =
        Legal ? ks.danger
              : enemyAttacks | (side == WHITE ? BlackPawnAttacks(b.bPawn) : WhitePawnAttacks(b.wPawn));
    const int cs = b.castleStat;
    const int* mb = b.mailbox;
    if (side == WHITE) {
      if ((cs & CASTLE_WK) && mb[3] == WKING && mb[0] == WROOK && !mb[1] && !mb[2] &&
          !(danger & (SquareBit(1) | SquareBit(2) | SquareBit(3))))
        add(WHITE_CASTLE_KINGSIDE);
      if ((cs & CASTLE_WQ) && mb[3] == WKING && mb[7] == WROOK && !mb[4] && !mb[5] && !mb[6] &&
          !(danger & (SquareBit(3) | SquareBit(4) | SquareBit(5))))
        add(WHITE_CASTLE_QUEENSIDE);
    } else {
      if ((cs & CASTLE_BK) && mb[59] == BKING && mb[56] == BROOK && !mb[57] && !mb[58] &&
          !(danger & (SquareBit(57) | SquareBit(58) | SquareBit(59))))
        add(BLACK_CASTLE_KINGSIDE);
      if ((cs & CASTLE_BQ) && mb[59] == BKING && mb[63] == BROOK && !mb[60] && !mb[61] && !mb[62] &&
          !(danger & (SquareBit(59) | SquareBit(60) | SquareBit(61))))
        add(BLACK_CASTLE_QUEENSIDE);
    }
  }

  list[count] = 0;
  return count;
}

int GeneratePseudoMoves(const Board& board, Move* list) {
  list[0] = 0;
  return Generate<false>(board, list);
}

int GenerateMoves(const Board& board, Move* list) {
  inCheck = 0;
  list[0] = 0;
  return Generate<true>(board, list);
}
