// The transposition table.
// Search layer: uses the base, board, moves and search layers.
#pragma once

#include <cstdint>

#include "board/board.h"

struct HashEntry {
  u64 key;      // position key; 0 marks an empty entry
  int depth;    // remaining depth in tenths of a ply
  int hashf;    // 0 exact, 1 upper bound, 2 lower bound
  int score;    // mate scores stored relative to the node
  Move move;    // best or refuting move, 0 when none
};
static_assert(sizeof(HashEntry) == 24, "a table entry is 24 bytes");

constexpr int HASH_MISS = 35001;
constexpr int HASH_EXACT = 0;
constexpr int HASH_UPPER = 1;
constexpr int HASH_LOWER = 2;
// The table's size limit in megabytes: N * 1000000 must fit in 32 bits.
constexpr int HASH_MEGABYTES_MAX = 4294;
// Spare entries behind the last index keep every bucket inside the block.
constexpr uint32_t HASH_SPARE_ENTRIES = 8;

extern HashEntry* hashTable;
extern uint32_t hashEntries;
extern Move hashMove;

int HashProbe(int depth, u64 key, int alpha, int beta);
void HashStore(u64 key, int depth, int score, int hashf, const Move* list, int index);
// Zeroes the first hashEntries entries.
void ClearHashTable();
// Allocates the table of hashEntries (+ the spare) entries as one block.
// Returns 0 on success, 1 when the memory cannot be had.
int AllocateHashTable();
void FreeHashTable();
