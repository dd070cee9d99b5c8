// Making and unmaking a move on a Board by exclusive-or updates.
//
// Nothing is saved outside the move word: while a move is made, bits 22..29
// of the word hold the castleStat from before the move (bits 30/31 keep the
// castling flag), and unmaking puts the special field back.
//
// The hot path makes no calls: an inconsistency met on the way is noted in a
// problem set and reported once the move is complete, in the order the
// steps met them.
#include "moves/makemove.h"

#include <cstddef>
#include <cstdio>

#include "base/output.h"
#include "base/state.h"
#include "board/fen.h"
#include "board/hashkeys.h"
#include "board/tables.h"
#include "moves/movetext.h"

int searchError;

#define COLD __attribute__((cold, noinline))

// Byte offset of each piece code's bitboard in a Board, and whether the code
// names a piece at all.
#define BOARD_OF(field) ((int)offsetof(Board, field))
static const int pieceBoardOffset[32] = {
    0, BOARD_OF(wPawn), BOARD_OF(wKnight), BOARD_OF(wKing), 0,
    BOARD_OF(wBishop), BOARD_OF(wRook), BOARD_OF(wQueen), 0, 0,
    0, 0, 0, 0, 0,
    0, 0, BOARD_OF(bPawn), BOARD_OF(bKnight), BOARD_OF(bKing),
    0, BOARD_OF(bBishop), BOARD_OF(bRook), BOARD_OF(bQueen), 0,
    0, 0, 0, 0, 0,
    0, 0,
};
#undef BOARD_OF
static const bool isPieceCode[32] = {
    false, true, true, true, false, true, true, true, false, false, false,
    false, false, false, false, false, false, true, true, true, false, true,
    true, true, false, false, false, false, false, false, false, false,
};

static inline u64& PieceBoard(Board& b, int code) {
  return *reinterpret_cast<u64*>(reinterpret_cast<char*>(&b) + pieceBoardOffset[code]);
}

// Castling rights that survive a move from or to each square. A right lives
// only while its king and rook have never left their squares, so any move
// touching e1, h1, a1, e8, h8 or a8 ends the rights tied to that square: the
// king or rook leaving, and a rook captured on its corner (another rook
// reaching the corner later must not revive the right).
static constexpr int RightsKeptOn(int s) {
  switch (s) {
    case 3: return 15 & ~(CASTLE_WK | CASTLE_WQ);   // e1
    case 0: return 15 & ~CASTLE_WK;                 // h1
    case 7: return 15 & ~CASTLE_WQ;                 // a1
    case 59: return 15 & ~(CASTLE_BK | CASTLE_BQ);  // e8
    case 56: return 15 & ~CASTLE_BK;                // h8
    case 63: return 15 & ~CASTLE_BQ;                // a8
    default: return 15;
  }
}
struct RightsKept {
  int kept[64];
  constexpr RightsKept() : kept() {
    for (int s = 0; s < 64; s++) kept[s] = RightsKeptOn(s);
  }
};
static constexpr RightsKept rightsKept;

static constexpr Move FIELDS_MASK = (1u << SPECIAL_SHIFT) - 1;  // everything below special
static constexpr Move KINGSIDE_FLAG = (Move)CASTLE_KINGSIDE << SPECIAL_SHIFT;
static constexpr Move QUEENSIDE_FLAG = (Move)CASTLE_QUEENSIDE << SPECIAL_SHIFT;

// Tables derived from the geometry tables and the hash keys, built on first
// use (both are fixed once InitTables has run): the plain and the three
// rotated bits of each square side by side, and the key of each castleStat
// value (castling rights plus en passant file).
struct SquareBits {
  u64 plain, l90, a1h8, h1a8;
};
static SquareBits squareBits[64];
static u64 stateKeys[256];
static bool derivedReady = false;

COLD static void BuildDerivedTables() {
  for (int s = 0; s < 64; s++) squareBits[s] = {setMask[s], setMaskL90[s], setMaskA1H8[s], setMaskH1A8[s]};
  for (int stat = 0; stat < 256; stat++) {
    stateKeys[stat] = castleKeys[stat & 15] ^ ((stat & EP_FLAG) ? epKeys[(stat >> 4) & 7] : 0);
  }
  derivedReady = true;
}

static inline void ToggleRotated(Board& b, int s) {
  b.occupiedL90 ^= squareBits[s].l90;
  b.occupiedA1H8 ^= squareBits[s].a1h8;
  b.occupiedH1A8 ^= squareBits[s].h1a8;
}

// The rotated boards of a move: both squares change, or for a capture only
// the origin (the destination stays occupied).
static inline void MoveRotated(Board& b, int from, int to, int captured) {
  const SquareBits& f = squareBits[from];
  if (captured) {
    b.occupiedL90 ^= f.l90;
    b.occupiedA1H8 ^= f.a1h8;
    b.occupiedH1A8 ^= f.h1a8;
  } else {
    const SquareBits& t = squareBits[to];
    b.occupiedL90 ^= f.l90 ^ t.l90;
    b.occupiedA1H8 ^= f.a1h8 ^ t.a1h8;
    b.occupiedH1A8 ^= f.h1a8 ^ t.h1a8;
  }
}

// Moves the castling rook of the side (king side or queen side) and answers
// its key change.
template <int Side>
static inline u64 MoveCastlingRook(Board& b, bool kingSide, bool making) {
  constexpr int rook = ROOK | (Side << 4);
  const int corner = Side == WHITE ? (kingSide ? 0 : 7) : (kingSide ? 56 : 63);
  const int inner = Side == WHITE ? (kingSide ? 2 : 4) : (kingSide ? 58 : 60);
  const u64 both = squareBits[corner].plain ^ squareBits[inner].plain;
  (Side == WHITE ? b.wRook : b.bRook) ^= both;
  (Side == WHITE ? b.wPieces : b.bPieces) ^= both;
  ToggleRotated(b, corner);
  ToggleRotated(b, inner);
  b.mailbox[making ? inner : corner] = rook;
  b.mailbox[making ? corner : inner] = 0;
  return pieceKeys[rook][corner] ^ pieceKeys[rook][inner];
}

// Takes off (or puts back) the pawn captured en passant behind to.
template <int Side>
static inline u64 ToggleEnPassantVictim(Board& b, int to, bool making) {
  constexpr int victim = PAWN | ((Side << 4) ^ 16);
  const int taken = Side == WHITE ? to - 8 : to + 8;
  const u64 bit = squareBits[taken].plain;
  (Side == WHITE ? b.bPawn : b.wPawn) ^= bit;
  (Side == WHITE ? b.bPieces : b.wPieces) ^= bit;
  ToggleRotated(b, taken);
  b.mailbox[taken] = making ? 0 : victim;
  return pieceKeys[victim][taken];
}

static inline bool IsPromotionPiece(int side, int code) {
  const int type = code - (side << 4);
  return type == QUEEN || type == ROOK || type == BISHOP || type == KNIGHT;
}

// The en passant test of make and unmake: a pawn's diagonal step onto an
// empty square of the sixth (third) rank.
template <int Side>
static inline bool IsEnPassant(int from, int to, int captured) {
  const int advance = Side == WHITE ? to - from : from - to;
  return captured == 0 && advance != 8 && (Side == WHITE ? to >= 40 : to < 24);
}

static void ShowBoardBothWays(const Board& b) {
  DisplayBoard(b, 0);
  DisplayBoard(b, 1);
}

// Problems met while making or unmaking a move.
enum : int {
  EMPTY_MOVE = 1,
  UNKNOWN_PIECE = 2,
  BAD_PROMOTION = 4,
  UNKNOWN_CAPTURE = 8,
};

COLD static int RefuseKingCapture(Move given, const Board& b) {
  printf("King will be captured!\n");
  ShowBoardBothWays(b);
  PrintMove(OUT_CONSOLE, given);
  Output(OUT_CONSOLE, "\n");
  endSearch = 3;
  searchError = 1;
  return 0;
}

// A promotion whose code names no piece of the mover's colour leaves the
// board inconsistent, for either colour: the search is told.
COLD static void ReportMakeProblems(int problems, Move given, int side, const Board& b) {
  if (problems & EMPTY_MOVE) printf("XXXXXXXXXXXXXXXXXXXXXXXXXXXX nodes %d, \n", (int)nodes);
  if (problems & UNKNOWN_PIECE) {
    printf("Error (not sure what happened1. piece=%d, nodes=%d)\n", MovePiece(given), (int)nodes);
    ShowBoardBothWays(b);
    PrintMove(OUT_CONSOLE | OUT_LOG, given);
    Output(OUT_CONSOLE | OUT_LOG, "\n");
    printf("After PrintMove.\n");
    char fen[FEN_SIZE];
    WriteFen(b, fen);
    printf("FEN: %s\n", fen);
    searchError = 1;
  }
  if (problems & BAD_PROMOTION) {
    if (side == WHITE) {
      printf("Error(promotion): Special _ not recognized.\n");
    } else {
      printf("Error(promotion): Special2 %d not recognized.\n", MoveSpecial(given) & 31);
    }
    searchError = 1;
  }
  if (problems & UNKNOWN_CAPTURE) {
    char text[8];
    MoveToText(given, text);
    printf("Error (not sure what happened2. piece=%d)\n", MoveCaptured(given));
    printf("#Move: (%d)%s(%d), special=%d\n", MovePiece(given), text, MoveCaptured(given),
           MoveSpecial(given));
  }
}

COLD static void ReportUnmakeProblems(int problems, Move made, int side, int promoted) {
  if (problems & UNKNOWN_PIECE) printf("Error (not sure what happened3. piece=%d)\n", MovePiece(made));
  if (problems & BAD_PROMOTION) {
    if (side == WHITE) {
      printf("Error(unpromotion): Special3 %d not recognized.\n", promoted);
    } else {
      printf("Error(promotion2): Special4 %d not recognized.\n", promoted);
    }
  }
  if (problems & UNKNOWN_CAPTURE) printf("Error (not sure what happened4. piece=%d)\n", MoveCaptured(made));
}

template <int Side>
__attribute__((noinline)) static int MakeFor(Move& move, Board& b) {
  constexpr int ownPawn = PAWN | (Side << 4);
  u64& mine = Side == WHITE ? b.wPieces : b.bPieces;
  u64& theirs = Side == WHITE ? b.bPieces : b.wPieces;

  const Move given = move;
  const int captured = MoveCaptured(given);
  if (__builtin_expect((captured & 15) == KING, 0)) return RefuseKingCapture(given, b);
  if (__builtin_expect(!derivedReady, 0)) BuildDerivedTables();
  int problems = given == 0 ? EMPTY_MOVE : 0;

  // The table has a fixed number of records; past its end moves are made
  // but no longer recorded.
  const int ply = b.gamePly;
  const bool recorded = (unsigned)ply < (unsigned)GAME_HISTORY_SIZE;
  if (recorded) gameHistory[ply].move = given;

  const int from = MoveFrom(given);
  const int to = MoveTo(given);
  const int piece = MovePiece(given);
  const int oldStat = b.castleStat & 255;
  u64 key = b.hashkey ^ sideKey ^ stateKeys[oldStat];

  b.mailbox[to] = piece;
  b.mailbox[from] = 0;
  const u64 toBit = squareBits[to].plain;
  const u64 fromTo = squareBits[from].plain ^ toBit;
  mine ^= fromTo;
  MoveRotated(b, from, to, captured);

  const int special = MoveSpecial(given);
  if (__builtin_expect(special == CASTLE_KINGSIDE || special == CASTLE_QUEENSIDE, 0)) {
    key ^= MoveCastlingRook<Side>(b, special == CASTLE_KINGSIDE, true);
    move = given | ((Move)oldStat << SPECIAL_SHIFT);
  } else {
    move = (given & FIELDS_MASK) | ((Move)oldStat << SPECIAL_SHIFT);
  }

  if (captured) {
    theirs ^= toBit;
    if (__builtin_expect(isPieceCode[captured], 1)) {
      PieceBoard(b, captured) ^= toBit;
      key ^= pieceKeys[captured][to];
    } else {
      problems |= UNKNOWN_CAPTURE;
    }
  }

  int stat = oldStat & 15 & rightsKept.kept[from] & rightsKept.kept[to];
  if (__builtin_expect(!isPieceCode[piece], 0)) {
    problems |= UNKNOWN_PIECE;
  } else {
    PieceBoard(b, piece) ^= fromTo;
    key ^= pieceKeys[piece][from] ^ pieceKeys[piece][to];
    if ((piece & 15) == KING) {
      (piece == WKING ? b.wKingSquare : b.bKingSquare) = to;
    } else if (piece == ownPawn) {
      if ((Side == WHITE ? to - from : from - to) == 16) {
        stat |= EP_FLAG | ((to & 7) << 4);
      } else if (IsEnPassant<Side>(from, to, captured)) {
        key ^= ToggleEnPassantVictim<Side>(b, to, true);
      }
      if (Side == WHITE ? to >= 56 : to < 8) {
        (Side == WHITE ? b.wPawn : b.bPawn) ^= toBit;
        key ^= pieceKeys[ownPawn][to];
        const int promotion = special & 31;
        if (IsPromotionPiece(Side, promotion)) {
          PieceBoard(b, promotion) ^= toBit;
          key ^= pieceKeys[promotion][to];
          b.mailbox[to] = promotion;
        } else {
          problems |= BAD_PROMOTION;
        }
      }
    }
  }

  b.onMove = 1 - Side;
  key ^= stateKeys[stat];
  b.castleStat = stat;
  b.hashkey = key;
  if (recorded) gameHistory[ply].hashkey = key;
  b.gamePly = ply + 1;
  if (__builtin_expect(problems != 0, 0)) ReportMakeProblems(problems, given, Side, b);
  return 1;
}

template <int Side>
__attribute__((noinline)) static int UnmakeFor(Move& move, Board& b) {
  constexpr int ownPawn = PAWN | (Side << 4);
  u64& mine = Side == WHITE ? b.wPieces : b.bPieces;
  u64& theirs = Side == WHITE ? b.bPieces : b.wPieces;
  if (__builtin_expect(!derivedReady, 0)) BuildDerivedTables();

  const Move made = move;
  b.gamePly -= 1;
  int problems = 0;
  int promoted = 0;

  const int from = MoveFrom(made);
  const int to = MoveTo(made);
  const int piece = MovePiece(made);
  const int captured = MoveCaptured(made);
  const int stat = (made >> SPECIAL_SHIFT) & 255;
  u64 key = b.hashkey ^ sideKey ^ stateKeys[b.castleStat & 255] ^ stateKeys[stat];

  const u64 toBit = squareBits[to].plain;
  const u64 fromTo = squareBits[from].plain ^ toBit;
  mine ^= fromTo;
  MoveRotated(b, from, to, captured);

  Move restored = made & FIELDS_MASK;
  if (__builtin_expect((made & (KINGSIDE_FLAG | QUEENSIDE_FLAG)) != 0, 0)) {
    const bool kingSide = (made & KINGSIDE_FLAG) != 0;
    key ^= MoveCastlingRook<Side>(b, kingSide, false);
    restored |= kingSide ? KINGSIDE_FLAG : QUEENSIDE_FLAG;
  }

  if (__builtin_expect(!isPieceCode[piece], 0)) {
    problems |= UNKNOWN_PIECE;
  } else {
    PieceBoard(b, piece) ^= fromTo;
    key ^= pieceKeys[piece][from] ^ pieceKeys[piece][to];
    if ((piece & 15) == KING) {
      (piece == WKING ? b.wKingSquare : b.bKingSquare) = from;
    } else if (piece == ownPawn) {
      if (IsEnPassant<Side>(from, to, captured)) key ^= ToggleEnPassantVictim<Side>(b, to, false);
      if (Side == WHITE ? to >= 56 : to < 8) {
        (Side == WHITE ? b.wPawn : b.bPawn) ^= toBit;
        key ^= pieceKeys[ownPawn][to];
        promoted = b.mailbox[to];
        if (IsPromotionPiece(Side, promoted)) {
          PieceBoard(b, promoted) ^= toBit;
          key ^= pieceKeys[promoted][to];
          restored |= (Move)promoted << SPECIAL_SHIFT;
        } else {
          problems |= BAD_PROMOTION;
        }
      }
    }
  }

  if (captured) {
    theirs ^= toBit;
    if (__builtin_expect(isPieceCode[captured], 1)) {
      PieceBoard(b, captured) ^= toBit;
      key ^= pieceKeys[captured][to];
      if ((captured & 15) == KING) (captured == WKING ? b.wKingSquare : b.bKingSquare) = to;
    } else {
      problems |= UNKNOWN_CAPTURE;
    }
  }

  b.mailbox[to] = captured;
  b.mailbox[from] = piece;
  b.onMove = Side;
  b.castleStat = stat;
  b.hashkey = key;
  move = restored;
  if (__builtin_expect(problems != 0, 0)) ReportUnmakeProblems(problems, made, Side, promoted);
  return 1;
}

// The common moves take a short path: a piece of a known code, quiet or
// capturing a known non-king piece, with no special field; for a pawn of the
// side to move only a single or double advance or a plain capture.
// Everything else (en passant, promotions, castling, bad words) takes the
// full path above.
struct FastMoves {
  bool ok[32 * 32];  // by moving piece code * 32 + captured code
  constexpr FastMoves() : ok() {
    const int pieces[] = {WPAWN, WKNIGHT, WBISHOP, WROOK, WQUEEN, WKING,
                          BPAWN, BKNIGHT, BBISHOP, BROOK, BQUEEN, BKING};
    const int victims[] = {EMPTY, WPAWN, WKNIGHT, WBISHOP, WROOK, WQUEEN,
                           BPAWN, BKNIGHT, BBISHOP, BROOK, BQUEEN};
    for (int p : pieces)
      for (int v : victims) ok[p * 32 + v] = true;
  }
};
static constexpr FastMoves fastMoves;

template <int Side>
static inline bool IsFastMove(Move word) {
  if (!fastMoves.ok[MovePiece(word) * 32 + MoveCaptured(word)]) return false;
  const int type = MovePiece(word) & 15;
  if (type != PAWN) return true;
  if (MovePiece(word) != (PAWN | (Side << 4))) return false;
  const int from = MoveFrom(word);
  const int to = MoveTo(word);
  if (Side == WHITE ? to >= 56 : to < 8) return false;
  const int advance = Side == WHITE ? to - from : from - to;
  return MoveCaptured(word) != 0 || advance == 8 || advance == 16;
}

// Records past the end of the game history land here and are dropped.
static GameRecord spareRecord;

template <int Side>
static inline int MakePieceMove(Move& move, Board& b, Move given) {
  const int from = MoveFrom(given);
  const int to = MoveTo(given);
  const int piece = MovePiece(given);
  const int captured = MoveCaptured(given);
  const int ply = b.gamePly;
  GameRecord& record = (unsigned)ply < (unsigned)GAME_HISTORY_SIZE ? gameHistory[ply] : spareRecord;
  record.move = given;

  const int oldStat = b.castleStat & 255;
  int stat = oldStat & 15 & rightsKept.kept[from] & rightsKept.kept[to];
  if (piece == (PAWN | (Side << 4)) && (Side == WHITE ? to - from : from - to) == 16) {
    stat |= EP_FLAG | ((to & 7) << 4);
  }
  move = (given & FIELDS_MASK) | ((Move)oldStat << SPECIAL_SHIFT);

  const u64 toBit = squareBits[to].plain;
  const u64 fromTo = squareBits[from].plain ^ toBit;
  u64 key = b.hashkey ^ sideKey ^ stateKeys[oldStat] ^ stateKeys[stat] ^ pieceKeys[piece][from] ^
            pieceKeys[piece][to];
  b.mailbox[to] = piece;
  b.mailbox[from] = 0;
  (Side == WHITE ? b.wPieces : b.bPieces) ^= fromTo;
  PieceBoard(b, piece) ^= fromTo;
  MoveRotated(b, from, to, captured);
  if (captured) {
    (Side == WHITE ? b.bPieces : b.wPieces) ^= toBit;
    PieceBoard(b, captured) ^= toBit;
    key ^= pieceKeys[captured][to];
  }
  if ((piece & 15) == KING) (piece == WKING ? b.wKingSquare : b.bKingSquare) = to;

  b.onMove = 1 - Side;
  b.castleStat = stat;
  b.hashkey = key;
  record.hashkey = key;
  b.gamePly = ply + 1;
  return 1;
}

template <int Side>
static inline int UnmakePieceMove(Move& move, Board& b, Move made) {
  const int from = MoveFrom(made);
  const int to = MoveTo(made);
  const int piece = MovePiece(made);
  const int captured = MoveCaptured(made);
  const int stat = (made >> SPECIAL_SHIFT) & 255;

  const u64 toBit = squareBits[to].plain;
  const u64 fromTo = squareBits[from].plain ^ toBit;
  u64 key = b.hashkey ^ sideKey ^ stateKeys[b.castleStat & 255] ^ stateKeys[stat] ^
            pieceKeys[piece][from] ^ pieceKeys[piece][to];
  b.mailbox[to] = captured;
  b.mailbox[from] = piece;
  (Side == WHITE ? b.wPieces : b.bPieces) ^= fromTo;
  PieceBoard(b, piece) ^= fromTo;
  MoveRotated(b, from, to, captured);
  if (captured) {
    (Side == WHITE ? b.bPieces : b.wPieces) ^= toBit;
    PieceBoard(b, captured) ^= toBit;
    key ^= pieceKeys[captured][to];
  }
  if ((piece & 15) == KING) (piece == WKING ? b.wKingSquare : b.bKingSquare) = from;

  b.onMove = Side;
  b.castleStat = stat;
  b.hashkey = key;
  b.gamePly -= 1;
  move = made & FIELDS_MASK;
  return 1;
}

template <int Side>
static inline int MakeOnSide(Move& move, Board& b) {
  const Move given = move;
  if (__builtin_expect(given < (1u << SPECIAL_SHIFT) && IsFastMove<Side>(given) && derivedReady, 1))
    return MakePieceMove<Side>(move, b, given);
  return MakeFor<Side>(move, b);
}

template <int Side>
static inline int UnmakeOnSide(Move& move, Board& b) {
  const Move made = move;
  if (__builtin_expect((made & (KINGSIDE_FLAG | QUEENSIDE_FLAG)) == 0 && IsFastMove<Side>(made) &&
                           derivedReady, 1))
    return UnmakePieceMove<Side>(move, b, made);
  return UnmakeFor<Side>(move, b);
}

int MakeMove(Move& move, Board& b) {
  return b.onMove == WHITE ? MakeOnSide<WHITE>(move, b) : MakeOnSide<BLACK>(move, b);
}

int UnmakeMove(Move& move, Board& b) {
  return b.onMove == WHITE ? UnmakeOnSide<BLACK>(move, b) : UnmakeOnSide<WHITE>(move, b);
}

u64 KeyAfterMove(const Board& b, Move move) {
  const int from = MoveFrom(move);
  const int to = MoveTo(move);
  const int piece = MovePiece(move);
  const int captured = MoveCaptured(move);
  if (__builtin_expect(!derivedReady, 0)) BuildDerivedTables();
  if (piece >= 24 || captured >= 24) return b.hashkey;
  const int oldStat = b.castleStat & 255;
  int stat = oldStat & 15 & rightsKept.kept[from] & rightsKept.kept[to];
  const int advance = to - from;
  if ((piece & 15) == PAWN && (advance == 16 || advance == -16)) stat |= EP_FLAG | ((to & 7) << 4);
  u64 key = b.hashkey ^ sideKey ^ stateKeys[oldStat] ^ stateKeys[stat] ^ pieceKeys[piece][from] ^
            pieceKeys[piece][to];
  if (captured) key ^= pieceKeys[captured][to];
  return key;
}
