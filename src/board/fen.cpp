// FEN reading and writing, and the board display.
#include "board/fen.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "board/hashkeys.h"
#include "board/tables.h"

static bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

static u64* PieceBoard(Board& board, int code) {
  switch (code) {
    case WPAWN: return &board.wPawn;
    case WKNIGHT: return &board.wKnight;
    case WKING: return &board.wKing;
    case WBISHOP: return &board.wBishop;
    case WROOK: return &board.wRook;
    case WQUEEN: return &board.wQueen;
    case BPAWN: return &board.bPawn;
    case BKNIGHT: return &board.bKnight;
    case BKING: return &board.bKing;
    case BBISHOP: return &board.bBishop;
    case BROOK: return &board.bRook;
    case BQUEEN: return &board.bQueen;
    default: return nullptr;
  }
}

static int PieceCodeOfLetter(char c) {
  switch (c) {
    case 'P': return WPAWN;
    case 'N': return WKNIGHT;
    case 'K': return WKING;
    case 'B': return WBISHOP;
    case 'R': return WROOK;
    case 'Q': return WQUEEN;
    case 'p': return BPAWN;
    case 'n': return BKNIGHT;
    case 'k': return BKING;
    case 'b': return BBISHOP;
    case 'r': return BROOK;
    case 'q': return BQUEEN;
    default: return EMPTY;
  }
}

const char* ReadFen(const char* text, Board& board) {
  // The position is built on a scratch board and copied over board only
  // when the whole text reads as a position, so a text with an error
  // leaves the previous position in place.
  Board fresh;
  memset(&fresh, 0, sizeof(fresh));
  fresh.gamePly = board.gamePly;
  fresh.wKingSquare = NO_SQUARE;
  fresh.bKingSquare = NO_SQUARE;
  fresh.onMove = 2;
  bool ok = true;

  while (*text == ' ' || *text == '\t') text++;
  size_t placementLength = 0;
  while (text[placementLength] && !IsSpace(text[placementLength])) placementLength++;
  if (placementLength > 255) placementLength = 255;

  // Walking the placement backwards visits h1, g1, ..., a1, h2, ... a8, so
  // the running counter is the square number.
  int square = 0;
  for (size_t i = placementLength; i-- > 0;) {
    char c = text[i];
    int code = PieceCodeOfLetter(c);
    if (code != EMPTY) {
      if (square < 64) {
        *PieceBoard(fresh, code) |= setMask[square];
        fresh.mailbox[square] = code;
        if (code == WKING) fresh.wKingSquare = square;
        if (code == BKING) fresh.bKingSquare = square;
      }
      square++;
    } else if (c >= '1' && c <= '8') {
      square += c - '0';
    } else if (c == '/') {
      if (square % 8 != 0) {
        printf("Error(Bad FEN): not 8 per row\n");
        ok = false;
      }
    } else {
      printf("Error (Unknown FEN character %c)\n", c);
      ok = false;
      square++;
    }
  }
  if (square > 64) {
    printf("Error(Bad FEN): more than 64 squares\n");
    ok = false;
  } else if (square < 64 && ok && placementLength > 0) {
    printf("Error(Bad FEN): fewer than 64 squares\n");
    ok = false;
  }

  fresh.wPieces = fresh.wKing | fresh.wQueen | fresh.wBishop | fresh.wKnight | fresh.wRook | fresh.wPawn;
  fresh.bPieces = fresh.bKing | fresh.bQueen | fresh.bBishop | fresh.bKnight | fresh.bRook | fresh.bPawn;
  for (int s = 0; s < 64; s++) {
    if (fresh.mailbox[s] == EMPTY) continue;
    fresh.occupiedA1H8 |= setMaskA1H8[s];
    fresh.occupiedH1A8 |= setMaskH1A8[s];
    fresh.occupiedL90 |= setMaskL90[s];
  }

  // The later fields sit at fixed offsets after the placement.
  const char* p = text + placementLength;
  const char* rest = p + strlen(p);
  if (*p == 0 || p[1] == 0) {
    printf("Error: FEN text ends before the side to move\n");
    ok = false;
  } else {
    p++;
    if (*p == 'w') fresh.onMove = WHITE;
    else if (*p == 'b') fresh.onMove = BLACK;
    else {
      printf("Error: Invalid FEN color(%c)\n", *p);
      ok = false;
    }
    p++;
    if (*p == 0 || p[1] == 0) {
      printf("Error: FEN text ends before the castling field\n");
      ok = false;
    } else {
      p++;
      int looked = 0;
      while (looked < 5 && *p && *p != ' ') {
        if (*p == 'K') fresh.castleStat |= CASTLE_WK;
        else if (*p == 'Q') fresh.castleStat |= CASTLE_WQ;
        else if (*p == 'k') fresh.castleStat |= CASTLE_BK;
        else if (*p == 'q') fresh.castleStat |= CASTLE_BQ;
        p++;
        looked++;
      }
      if (*p == ' ') p++;

      if (*p == 0) {
        printf("Error: FEN text ends before the en passant field\n");
        ok = false;
      } else if (*p == '-') {
        p++;
      } else if (*p >= 'a' && *p <= 'h') {
        int fileIndex = 'h' - *p;
        fresh.castleStat = (fresh.castleStat & 15) | ((8 + fileIndex) << 4);
        p++;
        if (*p) p++;
      }
      rest = p;
    }
  }
  if (!ok) return nullptr;

  fresh.hashkey = ComputeHashKey(fresh);
  board = fresh;
  while (*rest == ' ' || *rest == '\t') rest++;
  return rest;
}

static void Append(char* text, size_t& length, const char* piece) {
  while (*piece && length + 1 < (size_t)FEN_SIZE) text[length++] = *piece++;
  text[length] = 0;
}

void WriteFen(const Board& board, char* text) {
  static const char letters[] = "KQBNRPkqbnrp";
  const u64* boards[12] = {&board.wKing, &board.wQueen, &board.wBishop, &board.wKnight,
                           &board.wRook, &board.wPawn,  &board.bKing,   &board.bQueen,
                           &board.bBishop, &board.bKnight, &board.bRook, &board.bPawn};
  size_t length = 0;
  text[0] = 0;
  u64 occupied = board.wPieces | board.bPieces;
  int run = 0;
  char number[12];
  for (int s = 63; s >= 0; s--) {
    int found = -1;
    for (int i = 0; i < 12; i++)
      if (*boards[i] & setMask[s]) {
        found = i;
        break;
      }
    if (found >= 0) {
      char letter[2] = {letters[found], 0};
      Append(text, length, letter);
    } else {
      run++;
      if (s == 0 || (occupied & setMask[s - 1])) {
        snprintf(number, sizeof(number), "%d", run);
        Append(text, length, number);
        run = 0;
      }
    }
    if (s % 8 == 0 && s > 0) {
      if (run > 0) {
        snprintf(number, sizeof(number), "%d", run);
        Append(text, length, number);
        run = 0;
      }
      Append(text, length, "/");
    }
  }
  Append(text, length, board.onMove == WHITE ? " w " : " b ");
  if (board.castleStat & CASTLE_WK) Append(text, length, "K");
  if (board.castleStat & CASTLE_WQ) Append(text, length, "Q");
  if (board.castleStat & CASTLE_BK) Append(text, length, "k");
  if (board.castleStat & CASTLE_BQ) Append(text, length, "q");
  if ((board.castleStat & 15) == 0) Append(text, length, "-");
  Append(text, length, " ");
  if (!(board.castleStat & EP_FLAG)) {
    Append(text, length, "-");
  } else {
    char square[3] = {(char)('h' - ((board.castleStat >> 4) & 7)), board.onMove == BLACK ? '3' : '6', 0};
    Append(text, length, square);
  }
}

static const char* MailboxLabel(int code) {
  switch (code) {
    case EMPTY: return "-- ";
    case WPAWN: return "wP ";
    case WKNIGHT: return "wN ";
    case WKING: return "wK ";
    case WBISHOP: return "wB ";
    case WROOK: return "wR ";
    case WQUEEN: return "wQ ";
    case BPAWN: return "bP ";
    case BKNIGHT: return "bN ";
    case BKING: return "bK ";
    case BBISHOP: return "bB ";
    case BROOK: return "bR ";
    case BQUEEN: return "bQ ";
    default: return "?? ";
  }
}

void DisplayBoard(const Board& board, int fromBitboards, const char* linePrefix) {
  static const char* labels[12] = {"wK ", "wQ ", "wB ", "wN ", "wR ", "wP ",
                                   "bK ", "bQ ", "bB ", "bN ", "bR ", "bP "};
  const u64 boards[12] = {board.wKing, board.wQueen, board.wBishop, board.wKnight,
                          board.wRook, board.wPawn,  board.bKing,   board.bQueen,
                          board.bBishop, board.bKnight, board.bRook, board.bPawn};
  char fen[FEN_SIZE];
  WriteFen(board, fen);
  printf("%sFEN: %s\n", linePrefix, fen);
  printf("%s%s", linePrefix, fromBitboards ? "from bitboards:\n" : "via mailbox:\n");
  for (int s = 63; s >= 0; s--) {
    if (s % 8 == 7) printf("%s", linePrefix);
    if (fromBitboards) {
      for (int i = 0; i < 12; i++)
        if (boards[i] & setMask[s]) printf("%s", labels[i]);
      if (!((board.wPieces | board.bPieces) & setMask[s])) printf("-- ");
    } else {
      printf("%s", MailboxLabel(board.mailbox[s]));
    }
    if (s % 8 != 0) continue;
    if (s == 56 && !fromBitboards) printf("   mb[64]:%d", board.mailbox[64]);
    if (s == 48) printf("   castleStat: %d", board.castleStat);
    if (s == 40) printf("   hashkey: %" PRIX64, board.hashkey);
    printf("\n");
  }
}
