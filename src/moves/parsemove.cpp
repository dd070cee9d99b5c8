// Move text input: coordinate moves from the interface and the book,
// algebraic moves from test suites and game files. Both are matched against
// the generated legal moves, never built by hand.
#include "moves/parsemove.h"

#include <cstdio>
#include <cstring>

#include "base/output.h"
#include "base/state.h"
#include "board/movegen.h"
#include "moves/makemove.h"
#include "moves/movetext.h"

// Appends of played moves stop short of the end of bookLine.
static const size_t BOOK_LINE_APPEND_LIMIT = 4090;

static bool IsFile(char c) { return c >= 'a' && c <= 'h'; }
static bool IsRank(char c) { return c >= '1' && c <= '8'; }
static int SquareOf(char file, char rank) { return 8 * (rank - '1') + ('h' - file); }

int ParseUserMove(const char* text) {
  if (strlen(text) < 4 || !IsFile(text[0]) || !IsRank(text[1]) || !IsFile(text[2]) || !IsRank(text[3]))
    return 0;
  int from = SquareOf(text[0], text[1]);
  int to = SquareOf(text[2], text[3]);

  int piece = mainBoard.mailbox[from];
  int special = 0;
  if (text[3] == '8' && piece == WPAWN) {
    switch (text[4]) {
      case 'q': special = WQUEEN; break;
      case 'r': special = WROOK; break;
      case 'b': special = WBISHOP; break;
      case 'n': special = WKNIGHT; break;
      default: break;
    }
  } else if (text[3] == '1' && piece == BPAWN) {
    switch (text[4]) {
      case 'q': special = BQUEEN; break;
      case 'r': special = BROOK; break;
      case 'b': special = BBISHOP; break;
      case 'n': special = BKNIGHT; break;
      default: break;
    }
  } else if (piece == WKING || piece == BKING) {
    if (from - to == 2) special = CASTLE_KINGSIDE;
    if (from - to == -2) special = CASTLE_QUEENSIDE;
  }

  Move list[MOVE_LIST_SIZE];
  GenerateMoves(mainBoard, list);
  int found = -1;
  for (int i = 0; i < MOVE_LIST_LIMIT - 1; i++) {
    if (list[i] == 0) break;
    if (MoveFrom(list[i]) == from && MoveTo(list[i]) == to && MoveSpecial(list[i]) == special) {
      found = i;
      break;
    }
    if (i == MOVE_LIST_LIMIT - 2) printf("Error: Move not found\n");
  }
  if (found < 0) return 0;

  char moveText[8];
  MoveToText(list[found], moveText);
  size_t length = strlen(bookLine);
  if (length + strlen(moveText) + 1 <= BOOK_LINE_APPEND_LIMIT) strcpy(bookLine + length, moveText);

  Move m = list[found];
  MakeMove(m, mainBoard);
  if (MoveCaptured(m) || (MovePiece(m) & 15) == PAWN) lastIrreversiblePly = mainBoard.gamePly;
  return 1;
}

static int PieceTypeOfLetter(char c) {
  switch (c) {
    case 'Q': return QUEEN;
    case 'R': return ROOK;
    case 'N': return KNIGHT;
    case 'B': return BISHOP;
    case 'K': return KING;
    default: return PAWN;
  }
}

void ParseSanMove(const char* text, const Board& board, char* result) {
  if (text[0] == 'O' || text[0] == 'o' || text[0] == '0') {
    bool longCastle = strlen(text) >= 4 && text[3] == '-';
    if (board.onMove == WHITE) strcpy(result, longCastle ? "e1c1" : "e1g1");
    else strcpy(result, longCastle ? "e8c8" : "e8g8");
    return;
  }

  Move list[MOVE_LIST_SIZE];
  GenerateMoves(board, list);

  // Read the text from its end: check mark, promotion, destination, capture
  // mark, from-rank, from-file, piece letter.
  size_t len = strlen(text);
  if (len > 0 && (text[len - 1] == '#' || text[len - 1] == '+')) len--;
  int promotion = 0;
  if (len >= 2 && text[len - 2] == '=') {
    switch (text[len - 1]) {
      case 'Q': promotion = QUEEN; break;
      case 'R': promotion = ROOK; break;
      case 'B': promotion = BISHOP; break;
      case 'N': promotion = KNIGHT; break;
      default: promotion = -1; break;  // no piece of that name: nothing fits
    }
    len -= 2;
  }
  int to = -1;
  if (len >= 2 && IsFile(text[len - 2]) && IsRank(text[len - 1])) {
    to = SquareOf(text[len - 2], text[len - 1]);
  } else {
    char first = len >= 2 ? text[len - 2] : '?';
    char second = len >= 1 ? text[len - 1] : '?';
    Output(OUT_CONSOLE | OUT_LOG, "Error parsing Sqto: %c%c\n", first, second);
  }
  len = len >= 2 ? len - 2 : 0;
  if (len > 0 && text[len - 1] == 'x') len--;
  int fromRank = -1, fromFile = -1;
  if (len > 0 && IsRank(text[len - 1])) fromRank = text[--len] - '1';
  if (len > 0 && IsFile(text[len - 1])) fromFile = 'h' - text[--len];
  int piece = len > 0 ? PieceTypeOfLetter(text[len - 1]) : PAWN;

  int candidates = 0;
  Move match = 0;
  for (int i = 0; i < MOVE_LIST_SIZE && list[i]; i++) {
    Move m = list[i];
    if (MoveTo(m) != to || (MovePiece(m) & 15) != piece) continue;
    if (promotion != 0 && (MoveSpecial(m) & 15) != promotion) continue;
    if (fromRank >= 0 && MoveFrom(m) / 8 != fromRank) continue;
    if (fromFile >= 0 && MoveFrom(m) % 8 != fromFile) continue;
    candidates++;
    match = m;
  }
  if (candidates == 1) MoveToText(match, result);
  else strcpy(result, candidates == 0 ? "NONE" : "MULT");
}
