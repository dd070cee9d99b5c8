#include <gtest/gtest.h>

#include <vector>

#include "base/state.h"
#include "search/hash.h"
#include "search/search.h"

namespace {

// A small table of its own per test, so bucket placement is known.
struct SmallTable {
  std::vector<HashEntry> entries;
  HashEntry* savedTable;
  uint32_t savedEntries;
  explicit SmallTable(uint32_t n) : entries(n + HASH_SPARE_ENTRIES), savedTable(hashTable), savedEntries(hashEntries) {
    hashTable = entries.data();
    hashEntries = n;
    rootDepth = 0;
    hashMove = 0;
  }
  ~SmallTable() {
    hashTable = savedTable;
    hashEntries = savedEntries;
  }
};

const Move kMoves[3] = {0x1234, 0x5678, 0};

}  // namespace

TEST(HashTable, ExactScoreNeedsEnoughDepth) {
  SmallTable t(1000);
  HashStore(777, 40, 55, HASH_EXACT, kMoves, 0);
  EXPECT_EQ(HashProbe(40, 777, -100, 100), 55);
  EXPECT_EQ(HashProbe(30, 777, -100, 100), 55);
  EXPECT_EQ(HashProbe(50, 777, -100, 100), HASH_MISS);
  EXPECT_EQ(hashMove, kMoves[0]);  // a too-shallow hit still gives the move
}

TEST(HashTable, BoundsAnswerOnlyOutsideTheWindow) {
  SmallTable t(1000);
  HashStore(11, 40, 10, HASH_UPPER, kMoves, 0);
  EXPECT_EQ(HashProbe(40, 11, 20, 100), 20);
  EXPECT_EQ(HashProbe(40, 11, 5, 100), HASH_MISS);
  HashStore(12, 40, 10, HASH_LOWER, kMoves, 1);
  EXPECT_EQ(HashProbe(40, 12, -100, 5), 5);
  EXPECT_EQ(HashProbe(40, 12, -100, 50), HASH_MISS);
}

TEST(HashTable, MateScoresAreStoredRelativeToTheNode) {
  SmallTable t(1000);
  const int s = 31000;
  rootDepth = 60;
  HashStore(99, 40, s, HASH_EXACT, kMoves, 0);
  EXPECT_EQ(t.entries[99].score, s + 20);
  rootDepth = 80;
  // Accepted although the stored depth 40 is below the probe depth 50.
  EXPECT_EQ(HashProbe(50, 99, -32000, 32000), s - 10);
  rootDepth = 60;
  HashStore(98, 40, -s, HASH_EXACT, kMoves, 0);
  EXPECT_EQ(t.entries[98].score, -s - 20);
  rootDepth = 80;
  EXPECT_EQ(HashProbe(50, 98, -32000, 32000), -s + 10);
}

TEST(HashTable, MissKeepsTheLastHashMove) {
  SmallTable t(1000);
  HashStore(5, 40, 0, HASH_EXACT, kMoves, 1);
  HashProbe(40, 5, -10, 10);
  EXPECT_EQ(hashMove, kMoves[1]);
  EXPECT_EQ(HashProbe(40, 6, -10, 10), HASH_MISS);
  EXPECT_EQ(hashMove, kMoves[1]);
}

TEST(HashTable, BucketReplacement) {
  SmallTable t(100);
  // Keys 7, 107, 207, 307 fill the bucket at index 7..10.
  HashStore(7, 50, 1, HASH_EXACT, kMoves, 0);
  HashStore(107, 30, 2, HASH_EXACT, kMoves, 0);
  HashStore(207, 30, 3, HASH_EXACT, kMoves, 0);
  HashStore(307, 60, 4, HASH_EXACT, kMoves, 0);
  // A fifth position replaces the first of the shallowest entries.
  HashStore(407, 90, 5, HASH_EXACT, kMoves, 0);
  EXPECT_EQ(t.entries[8].key, 407u);
  EXPECT_EQ(t.entries[9].key, 207u);
  // A position already in the bucket is replaced in place, even shallower.
  HashStore(307, 10, 6, HASH_EXACT, kMoves, 1);
  EXPECT_EQ(t.entries[10].key, 307u);
  EXPECT_EQ(t.entries[10].depth, 10);
  EXPECT_EQ(t.entries[10].move, kMoves[1]);
  EXPECT_EQ(HashProbe(10, 307, -100, 100), 6);
  // The last index's bucket reaches into the spare entries.
  HashStore(99, 10, 7, HASH_EXACT, kMoves, 0);
  HashStore(199, 10, 8, HASH_EXACT, kMoves, 0);
  EXPECT_EQ(t.entries[100].key, 199u);
}

TEST(HashTable, ClearEmptiesEveryEntry) {
  SmallTable t(100);
  HashStore(3, 10, 7, HASH_EXACT, kMoves, 0);
  ClearHashTable();
  EXPECT_EQ(HashProbe(0, 3, -100, 100), HASH_MISS);
}

// The bucket index by reciprocal agrees with the remainder for the table
// sizes in use and at the ends of both ranges, and follows a size change.
TEST(HashTable, IndexIsTheKeyModuloTheSize) {
  const uint32_t sizes[] = {1, 2, 3, 41666, 65536, DEFAULT_HASH_ENTRIES, 178956970, 0xFFFFFFFFu};
  uint64_t x = 0x9E3779B97F4A7C15ull;
  const uint32_t saved = hashEntries;
  for (uint32_t n : sizes) {
    hashEntries = n;
    const uint64_t ends[] = {0, 1, (uint64_t)n - 1, n, ~0ull, ~0ull - 1, 0x8000000000000000ull};
    for (uint64_t key : ends) EXPECT_EQ(HashIndex(key), key % n) << n << " " << key;
    for (int i = 0; i < 20000; i++) {
      x ^= x << 13, x ^= x >> 7, x ^= x << 17;
      ASSERT_EQ(HashIndex(x), x % n) << n << " " << x;
    }
  }
  hashEntries = saved;
}
