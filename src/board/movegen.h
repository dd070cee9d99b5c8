// Attack maps and legal move generation.
// Board layer: uses the base and the board layer only.
#pragma once

#include "board/board.h"

// Move lists hold at most this many words, terminator included.
constexpr int MOVE_LIST_SIZE = 256;
// Walkers of move lists treat this many moves as the limit.
constexpr int MOVE_LIST_LIMIT = 250;

// Results of the last BuildAttackMaps / generation.
extern u64 attackFrom[64];
extern u64 whiteAttacks;
extern u64 blackAttacks;
extern int inCheck;

void BuildAttackMaps(const Board& board);
// 1 when the board is a position of a game: one king of each colour, and
// the side that is not to move not in check. 0 otherwise. Builds the
// attack maps.
int IsGamePosition(const Board& board);
int GeneratePseudoMoves(const Board& board, Move* list);
int GenerateMoves(const Board& board, Move* list);
int IsPinnedMove(Board board, int kingSquare, const Move* list, int index, u64 enemyAttacks,
                 int enemyColour);
int EnPassantExposes(const Board& board, Move move);
