// Small helpers of the move tests: boards from FEN text, move text, and
// finding a move of a list by its text.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "board/fen.h"
#include "board/movegen.h"
#include "moves/movetext.h"

inline Board FromFen(const char* fen) {
  Board b{};
  ReadFen(fen, b);
  return b;
}

inline std::string Text(Move m) {
  char text[8];
  MoveToText(m, text);
  return text;
}

// The move with this text (promotions carry their letter) among the legal
// moves, or among all generated moves when pseudo is set.
inline Move Find(const Board& b, const std::string& text, bool pseudo = false) {
  Move list[MOVE_LIST_SIZE];
  if (pseudo)
    GeneratePseudoMoves(b, list);
  else
    GenerateMoves(b, list);
  for (int i = 0; list[i] != 0; i++)
    if (Text(list[i]) == text) return list[i];
  ADD_FAILURE() << "no move " << text;
  return 0;
}
