// The command interpreter fed a whole command stream on standard input, run
// by the engine's main loop from a freshly reset state until the stream
// ends. Searches end at the first input poll after the stream is used up;
// commands that would run for long (the benchmark, the self-test, deep
// counts, the 50 ms of protover) are left out, and file commands are kept
// to names inside the working directory.
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "base/words.h"
#include "driver/config.h"
#include "base/state.h"
#include "search/engine.h"
#include "driver/mainloop.h"
#include "fuzz_common.h"

static const int MAX_COUNT_DEPTH = 3;

static bool Keep(const std::string& line) {
  char word[64], argument[64];
  const char* rest = NextWord(line.c_str(), word, sizeof word);
  NextWord(rest, argument, sizeof argument);
  if (!strcmp(word, "bench") || !strcmp(word, "test") || !strcmp(word, "protover")) return false;
  if ((!strcmp(word, "perft") || !strcmp(word, "divide")) && ToInt(argument) > MAX_COUNT_DEPTH) return false;
  if ((!strcmp(word, "book") || !strcmp(word, "epdscore")) && line.find('/') != std::string::npos) return false;
  return true;
}

// A small suite and game file the stream may name.
static void WriteWorkFiles() {
  static bool done = false;
  if (done) return;
  done = true;
  const char suite[] =
      "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - bm Rd8#; id \"mate1\"; sd 2;\n"
      "4k3/8/8/8/8/8/4K3/R6R w - - bm Rd1; id \"two\";\n";
  const char games[] =
      "[Event \"x\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 {Ruy} 4. Ba4 Nf6 5. O-O Be7 1-0\n";
  WriteFuzzFile("s.epd", (const uint8_t*)suite, sizeof suite - 1);
  WriteFuzzFile("g.pgn", (const uint8_t*)games, sizeof games - 1);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzSetUp();
  WriteWorkFiles();
  const std::string text = InputText(data, size);
  std::string stream;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    const bool lastPiece = end == std::string::npos;
    if (lastPiece) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (Keep(line)) stream += line + (lastPiece ? "" : "\n");
    start = end + 1;
  }

  int ends[2];
  if (pipe(ends) != 0) return 0;
  if (write(ends[1], stream.data(), stream.size()) != (ssize_t)stream.size()) __builtin_trap();
  close(ends[1]);
  dup2(ends[0], 0);
  close(ends[0]);

  ResetEngineState();
  MainLoop();
  fflush(stdout);
  return 0;
}
