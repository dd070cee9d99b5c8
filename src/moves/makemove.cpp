// Making and unmaking a move on a Board by exclusive-or updates.
//
// Nothing is saved outside the move word: while a move is made, bits 22..29
// of the word hold the castleStat from before the move (bits 30/31 keep the
// castling flag), and unmaking puts the special field back.
#include "moves/makemove.h"

#include <cstdio>

#include "board/fen.h"
#include "board/hashkeys.h"
#include "board/tables.h"
#include "driver/config.h"
#include "driver/engine.h"
#include "moves/movetext.h"
#include "search/search.h"

int searchError;

// The piece bitboard of each piece code; null for codes no piece has.
static u64 Board::*const pieceBoard[32] = {
    nullptr,        &Board::wPawn, &Board::wKnight, &Board::wKing, nullptr,
    &Board::wBishop, &Board::wRook, &Board::wQueen,  nullptr,       nullptr,
    nullptr,        nullptr,       nullptr,         nullptr,       nullptr,
    nullptr,        nullptr,       &Board::bPawn,   &Board::bKnight, &Board::bKing,
    nullptr,        &Board::bBishop, &Board::bRook, &Board::bQueen, nullptr,
    nullptr,        nullptr,       nullptr,         nullptr,       nullptr,
    nullptr,        nullptr,
};

// Castling rights that survive a move from or to each square. A right lives
// only while its king and rook have never left their squares, so any move
// touching e1, h1, a1, e8, h8 or a8 ends the rights tied to that square: the
// king or rook leaving, and a rook captured on its corner (another rook
// reaching the corner later must not revive the right).
static constexpr int RightsKeptTable(int s) {
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
    for (int s = 0; s < 64; s++) kept[s] = RightsKeptTable(s);
  }
};
static constexpr RightsKept rightsKept;

static constexpr Move FIELDS_MASK = (1u << SPECIAL_SHIFT) - 1;  // everything below special
static constexpr Move KINGSIDE_FLAG = (Move)CASTLE_KINGSIDE << SPECIAL_SHIFT;
static constexpr Move QUEENSIDE_FLAG = (Move)CASTLE_QUEENSIDE << SPECIAL_SHIFT;

static inline void ToggleRotated(Board& b, int s) {
  b.occupiedL90 ^= setMaskL90[s];
  b.occupiedA1H8 ^= setMaskA1H8[s];
  b.occupiedH1A8 ^= setMaskH1A8[s];
}

static inline bool IsCapturable(int code) {
  return pieceBoard[code] != nullptr && (code & 15) != KING;
}

// Rook squares of a castling move by side and flag.
static inline void CastlingRook(int side, bool kingSide, int& rookFrom, int& rookTo) {
  if (side == WHITE) {
    rookFrom = kingSide ? 0 : 7;
    rookTo = kingSide ? 2 : 4;
  } else {
    rookFrom = kingSide ? 56 : 63;
    rookTo = kingSide ? 58 : 60;
  }
}

static void ShowBoardBothWays(const Board& b) {
  DisplayBoard(b, 0);
  DisplayBoard(b, 1);
}

int MakeMove(Move& move, Board& b) {
  const Move given = move;
  const int captured = MoveCaptured(given);
  if ((captured & 15) == KING) {
    printf("King will be captured!\n");
    ShowBoardBothWays(b);
    PrintMove(OUT_CONSOLE, given);
    Output(OUT_CONSOLE, "\n");
    endSearch = 3;
    searchError = 1;
    return 0;
  }
  if (given == 0) printf("XXXXXXXXXXXXXXXXXXXXXXXXXXXX nodes %d, \n", (int)nodes);

  // The table has a fixed number of records; past its end moves are made
  // but no longer recorded.
  const int ply = b.gamePly;
  const bool recorded = ply >= 0 && ply < GAME_HISTORY_SIZE;
  if (recorded) gameHistory[ply].move = given;

  const int from = MoveFrom(given);
  const int to = MoveTo(given);
  const int piece = MovePiece(given);
  const int special = MoveSpecial(given);
  const int side = b.onMove;
  const int oldStat = b.castleStat & 255;

  u64 key = b.hashkey;
  if (oldStat & EP_FLAG) key ^= epKeys[(oldStat >> 4) & 7];
  key ^= castleKeys[oldStat & 15] ^ sideKey;

  b.mailbox[to] = piece;
  b.mailbox[from] = 0;

  const u64 fromTo = setMask[from] ^ setMask[to];
  u64& mine = side == WHITE ? b.wPieces : b.bPieces;
  mine ^= fromTo;

  if (special == CASTLE_KINGSIDE || special == CASTLE_QUEENSIDE) {
    int rookFrom, rookTo;
    CastlingRook(side, special == CASTLE_KINGSIDE, rookFrom, rookTo);
    const int rook = side == WHITE ? WROOK : BROOK;
    const u64 rookMove = setMask[rookFrom] ^ setMask[rookTo];
    b.*pieceBoard[rook] ^= rookMove;
    mine ^= rookMove;
    ToggleRotated(b, rookFrom);
    ToggleRotated(b, rookTo);
    key ^= pieceKeys[rook][rookFrom] ^ pieceKeys[rook][rookTo];
    b.mailbox[rookTo] = rook;
    b.mailbox[rookFrom] = 0;
    move = given | ((Move)oldStat << SPECIAL_SHIFT);
  } else {
    move = (given & FIELDS_MASK) | ((Move)oldStat << SPECIAL_SHIFT);
  }

  // A capture leaves the destination occupied, so only the origin changes
  // in the rotated boards.
  ToggleRotated(b, from);
  if (!captured) ToggleRotated(b, to);

  const int promotion = special & 31;
  u64 Board::*const moverBoard = pieceBoard[piece];
  if (moverBoard) {
    b.*moverBoard ^= fromTo;
    key ^= pieceKeys[piece][from] ^ pieceKeys[piece][to];
  }
  switch (piece) {
    case WKING:
      b.wKingSquare = to;
      break;
    case BKING:
      b.bKingSquare = to;
      break;
    case WPAWN:
      if (captured == 0 && to - from != 8 && to >= 40) {  // en passant
        const int taken = to - 8;
        b.bPawn ^= setMask[taken];
        b.bPieces ^= setMask[taken];
        ToggleRotated(b, taken);
        key ^= pieceKeys[BPAWN][taken];
        b.mailbox[taken] = 0;
      }
      if (to >= 56) {
        b.wPawn ^= setMask[to];
        key ^= pieceKeys[WPAWN][to];
        if (promotion == WQUEEN || promotion == WROOK || promotion == WBISHOP || promotion == WKNIGHT) {
          b.*pieceBoard[promotion] ^= setMask[to];
          key ^= pieceKeys[promotion][to];
          b.mailbox[to] = promotion;
        } else {
          printf("Error(promotion): Special _ not recognized.\n");
          searchError = 1;
        }
      }
      break;
    case BPAWN:
      if (captured == 0 && from - to != 8 && to < 24) {  // en passant
        const int taken = to + 8;
        b.wPawn ^= setMask[taken];
        b.wPieces ^= setMask[taken];
        ToggleRotated(b, taken);
        key ^= pieceKeys[WPAWN][taken];
        b.mailbox[taken] = 0;
      }
      if (to < 8) {
        b.bPawn ^= setMask[to];
        key ^= pieceKeys[BPAWN][to];
        if (promotion == BQUEEN || promotion == BROOK || promotion == BBISHOP || promotion == BKNIGHT) {
          b.*pieceBoard[promotion] ^= setMask[to];
          key ^= pieceKeys[promotion][to];
          b.mailbox[to] = promotion;
        } else {
          printf("Error(promotion): Special2 %d not recognized.\n", promotion);
          searchError = 1;
        }
      }
      break;
    case WQUEEN: case WROOK: case WBISHOP: case WKNIGHT:
    case BQUEEN: case BROOK: case BBISHOP: case BKNIGHT:
      break;
    default: {
      b.hashkey = key;
      printf("Error (not sure what happened1. piece=%d, nodes=%d)\n", piece, (int)nodes);
      ShowBoardBothWays(b);
      PrintMove(OUT_CONSOLE | OUT_LOG, given);
      Output(OUT_CONSOLE | OUT_LOG, "\n");
      printf("After PrintMove.\n");
      char fen[FEN_SIZE];
      WriteFen(b, fen);
      printf("FEN: %s\n", fen);
      searchError = 1;
      break;
    }
  }

  int stat = oldStat & 15 & rightsKept.kept[from] & rightsKept.kept[to];
  if ((piece == WPAWN && to - from == 16) || (piece == BPAWN && from - to == 16)) {
    stat |= EP_FLAG | ((to & 7) << 4);
  }

  if (captured) {
    (side == WHITE ? b.bPieces : b.wPieces) ^= setMask[to];
    if (IsCapturable(captured)) {
      b.*pieceBoard[captured] ^= setMask[to];
      key ^= pieceKeys[captured][to];
    } else {
      char text[8];
      MoveToText(given, text);
      printf("Error (not sure what happened2. piece=%d)\n", captured);
      printf("#Move: (%d)%s(%d), special=%d\n", piece, text, captured, special);
    }
  }

  b.onMove = 1 - side;
  if (stat & EP_FLAG) key ^= epKeys[(stat >> 4) & 7];
  key ^= castleKeys[stat & 15];
  b.castleStat = stat;
  b.hashkey = key;

  if (recorded) gameHistory[ply].hashkey = key;
  b.gamePly = ply + 1;
  return 1;
}

int UnmakeMove(Move& move, Board& b) {
  const Move made = move;
  b.gamePly -= 1;

  const int from = MoveFrom(made);
  const int to = MoveTo(made);
  const int piece = MovePiece(made);
  const int captured = MoveCaptured(made);

  u64 key = b.hashkey;
  const int current = b.castleStat;
  if (current & EP_FLAG) key ^= epKeys[(current >> 4) & 7];
  key ^= castleKeys[current & 15] ^ sideKey;

  const int stat = (made >> SPECIAL_SHIFT) & 255;
  const int side = 1 - b.onMove;
  b.onMove = side;

  const u64 fromTo = setMask[from] ^ setMask[to];
  u64& mine = side == WHITE ? b.wPieces : b.bPieces;
  mine ^= fromTo;

  Move restored = made & FIELDS_MASK;
  if (made & (KINGSIDE_FLAG | QUEENSIDE_FLAG)) {
    const bool kingSide = (made & KINGSIDE_FLAG) != 0;
    int rookFrom, rookTo;
    CastlingRook(side, kingSide, rookFrom, rookTo);
    const int rook = side == WHITE ? WROOK : BROOK;
    const u64 rookMove = setMask[rookFrom] ^ setMask[rookTo];
    b.*pieceBoard[rook] ^= rookMove;
    mine ^= rookMove;
    ToggleRotated(b, rookFrom);
    ToggleRotated(b, rookTo);
    key ^= pieceKeys[rook][rookFrom] ^ pieceKeys[rook][rookTo];
    b.mailbox[rookFrom] = rook;
    b.mailbox[rookTo] = 0;
    restored |= kingSide ? KINGSIDE_FLAG : QUEENSIDE_FLAG;
  }

  ToggleRotated(b, from);
  if (!captured) ToggleRotated(b, to);

  u64 Board::*const moverBoard = pieceBoard[piece];
  if (moverBoard) {
    b.*moverBoard ^= fromTo;
    key ^= pieceKeys[piece][from] ^ pieceKeys[piece][to];
  }
  switch (piece) {
    case WKING:
      b.wKingSquare = from;
      break;
    case BKING:
      b.bKingSquare = from;
      break;
    case WPAWN:
      if (captured == 0 && to - from != 8 && to >= 40) {
        const int taken = to - 8;
        b.bPawn ^= setMask[taken];
        b.bPieces ^= setMask[taken];
        ToggleRotated(b, taken);
        key ^= pieceKeys[BPAWN][taken];
        b.mailbox[taken] = BPAWN;
      }
      if (to >= 56) {
        b.wPawn ^= setMask[to];
        key ^= pieceKeys[WPAWN][to];
        const int promoted = b.mailbox[to];
        if (promoted == WQUEEN || promoted == WROOK || promoted == WBISHOP || promoted == WKNIGHT) {
          b.*pieceBoard[promoted] ^= setMask[to];
          key ^= pieceKeys[promoted][to];
          restored |= (Move)promoted << SPECIAL_SHIFT;
        } else {
          printf("Error(unpromotion): Special3 %d not recognized.\n", promoted);
        }
      }
      break;
    case BPAWN:
      if (captured == 0 && from - to != 8 && to < 24) {
        const int taken = to + 8;
        b.wPawn ^= setMask[taken];
        b.wPieces ^= setMask[taken];
        ToggleRotated(b, taken);
        key ^= pieceKeys[WPAWN][taken];
        b.mailbox[taken] = WPAWN;
      }
      if (to < 8) {
        b.bPawn ^= setMask[to];
        key ^= pieceKeys[BPAWN][to];
        const int promoted = b.mailbox[to];
        if (promoted == BQUEEN || promoted == BROOK || promoted == BBISHOP || promoted == BKNIGHT) {
          b.*pieceBoard[promoted] ^= setMask[to];
          key ^= pieceKeys[promoted][to];
          restored |= (Move)promoted << SPECIAL_SHIFT;
        } else {
          printf("Error(promotion2): Special4 %d not recognized.\n", promoted);
        }
      }
      break;
    case WQUEEN: case WROOK: case WBISHOP: case WKNIGHT:
    case BQUEEN: case BROOK: case BBISHOP: case BKNIGHT:
      break;
    default:
      printf("Error (not sure what happened3. piece=%d)\n", piece);
      break;
  }

  if (captured) {
    (side == WHITE ? b.bPieces : b.wPieces) ^= setMask[to];
    if (pieceBoard[captured]) {
      b.*pieceBoard[captured] ^= setMask[to];
      key ^= pieceKeys[captured][to];
      if (captured == WKING) b.wKingSquare = to;
      if (captured == BKING) b.bKingSquare = to;
    } else {
      printf("Error (not sure what happened4. piece=%d)\n", captured);
    }
  }

  b.mailbox[to] = captured;
  b.mailbox[from] = piece;

  if (stat & EP_FLAG) key ^= epKeys[(stat >> 4) & 7];
  key ^= castleKeys[stat & 15];
  b.castleStat = stat;
  b.hashkey = key;
  move = restored;
  return 1;
}
