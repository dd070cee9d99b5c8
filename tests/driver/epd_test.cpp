#include <gtest/gtest.h>

#include <string>

#include "board/hashkeys.h"
#include "capture.h"
#include "driver/epd.h"

namespace {

std::string ReadAndCapture(const std::string& fen, Board& b) {
  return CaptureOutput([&] { ReadEpdPosition(fen.c_str(), b); });
}

}  // namespace

// The operations after the position fields are cut at each ';' and parsed.
TEST(EpdPosition, OperationMessages) {
  struct Case {
    const char* fen;
    const char* output;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/8/4K3 w - - ;;", "Error: NULL token\n"},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "not parsed:0 1\n"},
      {"4k3/8/8/8/8/8/8/4K3 w - - c0 x; c1 y ;", "not parsed:c0 x\nnot parsed:c1 y\n"},
  };
  for (const auto& c : cases) {
    Board b{};
    EXPECT_EQ(ReadAndCapture(c.fen, b), c.output) << c.fen;
    EXPECT_EQ(b.hashkey, ComputeHashKey(b)) << c.fen;
  }
}

TEST(EpdPosition, OverlongOperationIsCut) {
  std::string fen = "4k3/8/8/8/8/8/8/4K3 w - - c0 " + std::string(300, 'a') + ";";
  Board b{};
  std::string out = ReadAndCapture(fen, b);
  EXPECT_EQ(out.rfind("ERROR: token>255\nnot parsed:c0 ", 0), 0u) << out;
  EXPECT_EQ(out.size(), std::string("ERROR: token>255\nnot parsed:").size() + 255 + 1);
}

