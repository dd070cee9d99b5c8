// Consistency checks: a Board against mainBoard field by field, and the
// rotated occupancy boards against those rebuilt from the Board's own FEN.
#include "board/verify.h"

#include <cinttypes>
#include <cstdio>

#include "board/fen.h"

int VerifyRotated(const Board& b) {
  char fen[FEN_SIZE];
  WriteFen(b, fen);
  Board fresh{};
  ReadFen(fen, fresh);
  int ok = 1;
  if (fresh.occupiedA1H8 != b.occupiedA1H8) {
    printf("Error in occupiedA1H8\n");
    ok = 0;
  }
  if (fresh.occupiedH1A8 != b.occupiedH1A8) {
    printf("Error in occupiedH1A8\n");
    ok = 0;
  }
  if (fresh.occupiedL90 != b.occupiedL90) {
    printf("Error in occupiedL90\n");
    ok = 0;
  }
  return ok;
}

int VerifyBoard(const Board& newB) {
  const Board& oldB = mainBoard;
  int ok = 1;
  auto report = [&](bool differs, const char* name) {
    if (differs) {
      printf("Error: probs with %s\n", name);
      ok = 0;
    }
  };
  report(newB.wKing != oldB.wKing, "wKing");
  report(newB.wQueen != oldB.wQueen, "wQueen");
  report(newB.wBishop != oldB.wBishop, "wBishop");
  report(newB.wKnight != oldB.wKnight, "wKnight");
  report(newB.wRook != oldB.wRook, "wRook");
  report(newB.wPawn != oldB.wPawn, "wPawn");
  report(newB.bKing != oldB.bKing, "bKing");
  report(newB.bQueen != oldB.bQueen, "bQueen");
  report(newB.bBishop != oldB.bBishop, "bBishop");
  report(newB.bKnight != oldB.bKnight, "bKnight");
  report(newB.bRook != oldB.bRook, "bRook");
  report(newB.bPawn != oldB.bPawn, "bPawn");
  report(newB.wPieces != oldB.wPieces, "wPieces");
  report(newB.bPieces != oldB.bPieces, "bPieces");
  report(newB.occupiedA1H8 != oldB.occupiedA1H8, "occupiedA1H8");
  report(newB.occupiedH1A8 != oldB.occupiedH1A8, "occupiedH1A8");
  report(newB.occupiedL90 != oldB.occupiedL90, "occupiedL90");
  report(newB.onMove != oldB.onMove, "onMove");
  if (newB.castleStat != oldB.castleStat) {
    printf("Error: probs with castleStat: old=%d, new=%d\n", oldB.castleStat, newB.castleStat);
    ok = 0;
  }
  report(newB.wKingSquare != oldB.wKingSquare, "wKingSquare");
  if (newB.bKingSquare != oldB.bKingSquare) {
    printf("Error: probs with bKingSquare: old=%d new=%d\n", oldB.bKingSquare, newB.bKingSquare);
    ok = 0;
  }
  for (int i = 0; i < 65; i++) {
    if (newB.mailbox[i] != oldB.mailbox[i]) {
      printf("Error: probs with mailbox[%d]\n", i);
      ok = 0;
    }
  }
  if (newB.hashkey != oldB.hashkey) {
    printf("Error: probs with hashkey\n");
    printf("oldhash=%" PRIX64 "  newhash=%" PRIX64 "\n", oldB.hashkey, newB.hashkey);
    ok = 0;
  }
  if (!VerifyRotated(oldB)) {
    printf("Error: probs with oldB\n");
    ok = 0;
  }
  if (!VerifyRotated(newB)) {
    printf("Error: probs with newB\n");
    ok = 0;
  }
  return ok;
}
