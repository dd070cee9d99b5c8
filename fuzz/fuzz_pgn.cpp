// The PGN reader of the book builder: the input is a game file.
#include "book/bookbuild.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  ResetEngineState();
  WriteFuzzFile("games.pgn", data, size);
  BuildBook("games.pgn");
  return 0;
}
