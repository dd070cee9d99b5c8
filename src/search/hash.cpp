// The transposition table's storage.
#include "search/hash.h"

#include <cstring>

#include "driver/engine.h"

HashEntry* hashTable = nullptr;
uint32_t hashEntries = DEFAULT_HASH_ENTRIES;
Move hashMove = 0;

void ClearHashTable() {
  if (hashTable != nullptr) memset(hashTable, 0, sizeof(HashEntry) * (size_t)hashEntries);
}
