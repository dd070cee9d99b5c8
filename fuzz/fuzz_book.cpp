// The book opener and prober: the input is a book file, opened as at
// start-up and probed at the start of a game and after 1. e4. Built twice:
// as a text book (book.txt) and as a Polyglot book (BOOK_FILE_NAME book.bin).
#include <cstring>

#include "book/book.h"
#include "base/state.h"
#include "search/engine.h"
#include "moves/parsemove.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  ResetEngineState();
#ifndef BOOK_FILE_NAME
#define BOOK_FILE_NAME "book.txt"
#endif
  WriteFuzzFile(BOOK_FILE_NAME, data, size);
  strcpy(bookName, BOOK_FILE_NAME);
  if (OpenBook() == 0) {
    ProbeBook();
    NewGame();
    ParseUserMove("e2e4");
    ProbeBook();
  }
  CloseBook();
  return 0;
}
