// Transposition table: buckets of four 24-byte entries addressed by the
// position key modulo the table size.
#include "search/hash.h"

#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

#include "search/search.h"

HashEntry* hashTable = nullptr;
uint32_t hashEntries = DEFAULT_HASH_ENTRIES;
Move hashMove = 0;

static const int BUCKET_SIZE = 4;
static const int MATE_BOUND = 30000;

HashDivisor hashDivisor = {0, 0};

void RenewHashDivisor() {
  hashDivisor.divisor = hashEntries;
  hashDivisor.reciprocal = hashEntries == 0 ? 0 : ~(unsigned __int128)0 / hashEntries + 1;
}

static inline HashEntry* Bucket(u64 key) { return hashTable + HashIndex(key); }

void ClearHashTable() {
  if (hashTable) memset(hashTable, 0, (size_t)hashEntries * sizeof(HashEntry));
}

int HashProbe(int depth, u64 key, int alpha, int beta) {
  if (!hashTable || hashEntries == 0) return HASH_MISS;
  HashEntry* bucket = Bucket(key);
  for (int i = 0; i < BUCKET_SIZE; i++) {
    HashEntry& e = bucket[i];
    if (e.key != key) continue;
    // Mate scores are stored relative to the node; they are good at any
    // depth once brought back to this root distance.
    int s = e.score, d = depth;
    if (s > MATE_BOUND) {
      s -= rootDepth - depth;
      d = 0;
    } else if (s < -MATE_BOUND) {
      s += rootDepth - depth;
      d = 0;
    }
    hashMove = e.move;
    if (e.depth < d) return HASH_MISS;
    switch (e.hashf) {
      case HASH_EXACT: return s;
      case HASH_UPPER: return s <= alpha ? alpha : HASH_MISS;
      case HASH_LOWER: return s >= beta ? beta : HASH_MISS;
      default: return HASH_MISS;
    }
  }
  return HASH_MISS;
}

void HashStore(u64 key, int depth, int score, int hashf, const Move* list, int index) {
  if (!hashTable || hashEntries == 0) return;
  HashEntry* bucket = Bucket(key);
  // Take an empty entry or the position's own; else replace the shallowest.
  HashEntry* taken = nullptr;
  HashEntry* shallowest = bucket;
  int minDepth = 500;
  for (int i = 0; i < BUCKET_SIZE; i++) {
    HashEntry& e = bucket[i];
    if (e.key == 0) {
      taken = &e;
      break;
    }
    if (e.depth < minDepth) {
      minDepth = e.depth;
      shallowest = &e;
    }
    if (e.key == key) {
      taken = &e;
      break;
    }
  }
  if (!taken) taken = shallowest;
  if (score > MATE_BOUND) score += rootDepth - depth;
  else if (score < -MATE_BOUND) score -= rootDepth - depth;
  taken->key = key;
  taken->move = list[index];
  taken->hashf = hashf;
  taken->depth = depth;
  taken->score = score;
}

int AllocateHashTable() {
  size_t bytes = sizeof(HashEntry) * ((size_t)hashEntries + HASH_SPARE_ENTRIES);
  // Whole 2 MB pages, so that the system can back the table with large
  // pages: probes all over the table then miss the address cache far less.
  const size_t page = 2u << 20;
  bytes = (bytes + page - 1) / page * page;
  hashTable = (HashEntry*)aligned_alloc(page, bytes);
  if (hashTable == nullptr) return 1;
  madvise(hashTable, bytes, MADV_HUGEPAGE);
  return 0;
}

void FreeHashTable() {
  free(hashTable);
  hashTable = nullptr;
}
