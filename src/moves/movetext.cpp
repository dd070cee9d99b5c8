// Coordinate move text (e2e4, e7e8q) and the debugging move printers.
#include "moves/movetext.h"

#include <cstdio>

#include "base/output.h"

// Letters by piece code; codes 4 and 20, which no piece has, show as digits.
const char pieceLetters[24] = {' ', 'P', 'N', 'K', '4', 'B', 'R', 'Q', ' ', ' ', ' ', ' ',
                               ' ', ' ', ' ', ' ', ' ', 'p', 'n', 'k', '9', 'b', 'r', 'q'};

// The five-bit piece fields of a move word reach 31; codes past the table
// print a blank.
static char LetterOf(int code) { return code >= 0 && code < 24 ? pieceLetters[code] : ' '; }

void MoveToText(Move move, char* text) {
  const int from = MoveFrom(move);
  const int to = MoveTo(move);
  text[0] = (char)('h' - (from & 7));
  text[1] = (char)('1' + (from >> 3));
  text[2] = (char)('h' - (to & 7));
  text[3] = (char)('1' + (to >> 3));
  text[4] = 0;
  text[5] = 0;
  if (to < 8 || to >= 56) {
    switch (MoveSpecial(move) & 15) {
      case 7: text[4] = 'q'; break;
      case 6: text[4] = 'r'; break;
      case 5: text[4] = 'b'; break;
      case 2: text[4] = 'n'; break;
      default: break;
    }
  }
}

void PrintMove(int mask, const Move& move) {
  char text[8];
  MoveToText(move, text);
  Output(mask, "(%c)%s(%c)", LetterOf(MovePiece(move)), text, LetterOf(MoveCaptured(move)));
  Output(mask, "spec=%d", MoveSpecial(move));
}

void PrintMoveList(const Move* list) {
  for (int i = 0; i < 250 && list[i] != 0; i++) {
    const Move move = list[i];
    char text[8];
    MoveToText(move, text);
    printf("#Move %d: (%c)%s(%c), special=%d\n", i, LetterOf(MovePiece(move)), text,
           LetterOf(MoveCaptured(move)), MoveSpecial(move));
    if (i == 240) printf("Error: 240 moves reached.\n");
  }
}
