// The book opener and prober: the input is a text book file, opened as at
// start-up and probed at the start of a game and after 1. e4.
// (A target for binary books belongs beside this one once they exist.)
#include <cstring>

#include "book/book.h"
#include "base/state.h"
#include "search/engine.h"
#include "moves/parsemove.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  ResetEngineState();
  WriteFuzzFile("book.txt", data, size);
  strcpy(bookName, "book.txt");
  if (OpenBook() == 0) {
    ProbeBook();
    NewGame();
    ParseUserMove("e2e4");
    ProbeBook();
  }
  if (bookFile) fclose(bookFile);
  bookFile = nullptr;
  bookLines = 0;
  return 0;
}
