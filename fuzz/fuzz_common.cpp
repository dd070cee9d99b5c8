#include "fuzz_common.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/poll.h"
#include "board/fen.h"
#include "board/tables.h"
#include "book/book.h"
#include "book/bookbuild.h"
#include "base/state.h"
#include "search/engine.h"
#include "driver/epd.h"
#include "driver/input.h"
#include "search/hash.h"
#include "search/search.h"
#include "search/think.h"

void FuzzSetUp() {
  static bool done = false;
  if (done) return;
  done = true;
  int null = open("/dev/null", O_WRONLY);
  if (null >= 0) {
    dup2(null, 1);
    close(null);
  }
  static char outBuffer[1 << 16];
  setvbuf(stdout, outBuffer, _IOFBF, sizeof outBuffer);
  char dir[] = "/tmp/quorvel-fuzz-XXXXXX";
  if (mkdtemp(dir) == nullptr || chdir(dir) != 0) abort();
  InitTables();
  SetStateDefaults();
  // Searches read their input as the engine's do.
  inputPoll = ReadInput;
  hashEntries = 4096;
  if (AllocateHashTable() != 0) abort();
}

void ResetEngineState() {
  ResetInput();
  CloseBook();
  bookName[0] = 0;
  SetStateDefaults();
  NewGame();
  forceMode = 1;
  computerSide = 2;
  inSearch = 0;
  inPonder = 0;
  endSearch = 1;
  quitFlag = 0;
  ponderMode = 0;
  postMode = 1;
  kibitzMode = 0;
  fixedDepth = 0;
  resignThreshold = 0;
  movesPerControl = 40;
  baseMinutes = 5.0;
  increment = 0;
  comptime = opptime = 300.0;
  lastIrreversiblePly = 0;
  systemSpeed = 0;
  pollnodes = 1023;
  lastRootScore = 0;
  gameError = 0;
  inComment = 0;
  epdId[0] = epdBm[0] = epdBm2[0] = 0;
}

std::string InputText(const uint8_t* data, size_t size) { return std::string((const char*)data, size); }

void WriteFuzzFile(const char* name, const uint8_t* data, size_t size) {
  FILE* file = fopen(name, "wb");
  if (!file) abort();
  if (size > 0 && fwrite(data, 1, size, file) != size) abort();
  fclose(file);
}
