#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "board/fen.h"
#include "board/hashkeys.h"
#include "board/tables.h"
#include "capture.h"

namespace {

int Sq(const char* name) { return (name[1] - '1') * 8 + ('h' - name[0]); }

std::string ReadAndCapture(const std::string& fen, Board& b) {
  return CaptureOutput([&] { ReadFen(fen.c_str(), b); });
}

}  // namespace

TEST(Fen, StartPositionFields) {
  Board b{};
  EXPECT_EQ(ReadAndCapture("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", b), "");
  EXPECT_EQ(b.castleStat, 15);
  EXPECT_EQ(b.onMove, WHITE);
  EXPECT_EQ(b.wKingSquare, 3);
  EXPECT_EQ(b.bKingSquare, 59);
  EXPECT_EQ(b.mailbox[0], WROOK);
  EXPECT_EQ(b.mailbox[63], BROOK);
  EXPECT_EQ(b.mailbox[64], 0);
  EXPECT_EQ(b.wPieces, 0xFFFF000000000000ull);
  EXPECT_EQ(b.bPieces, 0x000000000000FFFFull);
}

TEST(Fen, EmptyBoardAndGamePlyKept) {
  Board b{};
  b.gamePly = 17;
  ReadAndCapture("8/8/8/8/8/8/8/8 w - -", b);
  EXPECT_EQ(b.gamePly, 17);
  EXPECT_EQ(b.wKingSquare, NO_SQUARE);
  EXPECT_EQ(b.bKingSquare, NO_SQUARE);
  EXPECT_EQ(b.castleStat, 0);
  EXPECT_EQ(b.wPieces | b.bPieces | b.occupiedL90 | b.occupiedA1H8 | b.occupiedH1A8, 0u);
  EXPECT_EQ(b.hashkey, ComputeHashKey(b));
}

TEST(Fen, EnPassantFieldAndRoundTrip) {
  Board b{};
  ReadAndCapture("4k3/8/8/3pP3/8/8/8/4K3 w - d6", b);
  EXPECT_EQ(b.castleStat, 192);
  char text[FEN_SIZE];
  WriteFen(b, text);
  EXPECT_STREQ(text, "4k3/8/8/3pP3/8/8/8/4K3 w - d6");
}

TEST(Fen, WriterRunsOfEmptySquares) {
  const char* fens[] = {"8/8/8/8/8/8/8/8 w - -", "k7/7p/8/8/8/8/P7/7K b - -",
                        "1r4k1/8/8/8/8/8/8/K6R w - -"};
  for (const char* fen : fens) {
    Board b{};
    ReadAndCapture(fen, b);
    char text[FEN_SIZE];
    WriteFen(b, text);
    EXPECT_STREQ(text, fen);
  }
}

struct FenErrorCase {
  const char* fen;
  const char* output;
  int read;  // 1: the text is a position (its operations aside)
};

// A text with an error in the position fields is refused whole: the board
// keeps the position it held, side to move and all.
TEST(Fen, ErrorMessagesAndRefusedTextsLeaveTheBoardAsItWas) {
  const FenErrorCase cases[] = {
      {"rnbqkbnr/ppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -", "Error(Bad FEN): not 8 per row\n", 0},
      {"4k3/8/8/3x4/8/8/8/4K3 w - -", "Error (Unknown FEN character x)\n", 0},
      {"4k3/8/8/8/8/8/8/4K3 W - -", "Error: Invalid FEN color(W)\n", 0},
      {"4k3/8/8/8/8/8/8/4K3 x KQkq -", "Error: Invalid FEN color(x)\n", 0},
      {"4k3/8/8/8/8/8/8/4K3", "Error: FEN text ends before the side to move\n", 0},
      {"4k3/8/8/8/8/8/8/4K3 w", "Error: FEN text ends before the castling field\n", 0},
      {"4k3/8/8/8/8/8/8/4K3 w -", "Error: FEN text ends before the en passant field\n", 0},
      {"", "Error: FEN text ends before the side to move\n", 0},
      {"k7/8/8/8/8/8/8/8/4K3 w - -", "Error(Bad FEN): more than 64 squares\n", 0},
      {"8/8/8/8/8/8/8/8/8/8/k7 w - -", "Error(Bad FEN): more than 64 squares\n", 0},
      {"4k3/8/8 w - -", "Error(Bad FEN): fewer than 64 squares\n", 0},
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "", 1},
  };
  for (const auto& c : cases) {
    Board b{};
    ReadAndCapture("r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", b);
    b.gamePly = 17;
    const Board before = b;
    bool read = false;
    EXPECT_EQ(CaptureOutput([&] { read = ReadFen(c.fen, b) != nullptr; }), c.output) << c.fen;
    EXPECT_EQ(read, c.read == 1) << c.fen;
    if (c.read) {
      EXPECT_EQ(b.wKingSquare, Sq("e1")) << c.fen;
      EXPECT_EQ(b.onMove, WHITE) << c.fen;
      EXPECT_EQ(b.hashkey, ComputeHashKey(b)) << c.fen;
    } else {
      EXPECT_EQ(memcmp(&b, &before, sizeof(Board)), 0) << c.fen;
    }
    EXPECT_EQ(b.gamePly, 17);
  }
}

// The reader takes the position fields and hands back what follows them.
TEST(Fen, ReturnsTheTextAfterThePosition) {
  struct Case {
    const char* fen;
    const char* rest;
  };
  const Case cases[] = {
      {"4k3/8/8/8/8/8/8/4K3 w - - 0 1", "0 1"},
      {"4k3/8/8/8/8/8/8/4K3 w - e3 bm Kd2; id \"x\";", "bm Kd2; id \"x\";"},
      {"4k3/8/8/8/8/8/8/4K3 w - -", ""},
      {"4k3/8/8/8/8/8/8/4K3 w", nullptr},
  };
  for (const Case& c : cases) {
    Board b{};
    const char* rest = nullptr;
    CaptureOutput([&] { rest = ReadFen(c.fen, b); });
    if (c.rest) {
      EXPECT_STREQ(rest, c.rest) << c.fen;
    } else {
      EXPECT_EQ(rest, nullptr) << c.fen;
    }
  }
}

TEST(Fen, DisplayBothViews) {
  Board b{};
  ReadAndCapture("4k3/8/8/3pP3/8/8/8/4K3 w - d6", b);
  std::string bits = CaptureOutput([&] { DisplayBoard(b, 1); });
  char key[32];
  snprintf(key, sizeof key, "%llX", (unsigned long long)b.hashkey);
  std::string expected =
      "FEN: 4k3/8/8/3pP3/8/8/8/4K3 w - d6\n"
      "from bitboards:\n"
      "-- -- -- -- bK -- -- -- \n"
      "-- -- -- -- -- -- -- --    castleStat: 192\n"
      "-- -- -- -- -- -- -- --    hashkey: " + std::string(key) + "\n"
      "-- -- -- bP wP -- -- -- \n"
      "-- -- -- -- -- -- -- -- \n"
      "-- -- -- -- -- -- -- -- \n"
      "-- -- -- -- -- -- -- -- \n"
      "-- -- -- -- wK -- -- -- \n";
  EXPECT_EQ(bits, expected);
  std::string mail = CaptureOutput([&] { DisplayBoard(b, 0); });
  EXPECT_NE(mail.find("via mailbox:\n-- -- -- -- bK -- -- --    mb[64]:0\n"), std::string::npos) << mail;
}
