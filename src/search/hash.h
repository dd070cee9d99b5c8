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

// The position key modulo hashEntries, computed by multiplying with a
// 128-bit reciprocal instead of dividing (exact for every key: the
// reciprocal has 64 more bits than the key). The reciprocal is renewed
// whenever hashEntries has changed.
struct HashDivisor {
  uint64_t divisor;
  unsigned __int128 reciprocal;
};
extern HashDivisor hashDivisor;
void RenewHashDivisor();

inline uint64_t HashIndex(u64 key) {
  if (__builtin_expect(hashDivisor.divisor != hashEntries, 0)) RenewHashDivisor();
  const unsigned __int128 fraction = hashDivisor.reciprocal * key;
  const unsigned __int128 d = hashDivisor.divisor;
  const unsigned __int128 low = ((fraction & ~(uint64_t)0) * d) >> 64;
  const unsigned __int128 high = (fraction >> 64) * d;
  return (uint64_t)((low + high) >> 64);
}

int HashProbe(int depth, u64 key, int alpha, int beta);
// Starts loading the bucket of key into the cache, ahead of its probe; the
// table's contents are not touched.
inline void HashPrefetch(u64 key) {
  if (!hashTable || hashEntries == 0) return;
  const char* bucket = reinterpret_cast<const char*>(hashTable + HashIndex(key));
  // Four entries span two or three cache lines.
  __builtin_prefetch(bucket);
  __builtin_prefetch(bucket + 64);
  __builtin_prefetch(bucket + 4 * sizeof(HashEntry) - 1);
}
void HashStore(u64 key, int depth, int score, int hashf, const Move* list, int index);
// Zeroes the first hashEntries entries.
void ClearHashTable();
// Allocates the table of hashEntries (+ the spare) entries as one block.
// Returns 0 on success, 1 when the memory cannot be had.
int AllocateHashTable();
void FreeHashTable();
