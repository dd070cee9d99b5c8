// The configuration reader: the input is a whole Quorvel.rc.
#include <cstdio>

#include "base/words.h"
#include "driver/config.h"
#include "base/state.h"
#include "search/engine.h"
#include "fuzz_common.h"
#include "search/hash.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  ResetEngineState();
  WriteFuzzFile("Quorvel.rc", data, size);
  const uint32_t entries = hashEntries;
  FILE* file = fopen("Quorvel.rc", "r");
  if (!file) return 0;
  ReadConfigLines(file);
  fclose(file);
  // The table stays as allocated; only its size setting was read.
  hashEntries = entries;
  return 0;
}
