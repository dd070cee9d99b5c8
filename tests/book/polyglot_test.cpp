// Polyglot books: the position key, entry and move decoding, the weighted
// choice, the binary search over a book file and the book listing.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "../moves/move_helpers.h"
#include "book/book.h"
#include "book/polyglot.h"
#include "base/state.h"
#include "moves/makemove.h"
#include "process.h"

namespace {

const char* const START = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
const u64 START_KEY = 0x463b96181691fc9cull;

// A move field from coordinate text as the format lays it out: to file, to
// row, from file, from row, three bits each, then the promotion piece.
uint16_t Field(const char* text, int promotion = 0) {
  int fromFile = text[0] - 'a', fromRow = text[1] - '1', toFile = text[2] - 'a', toRow = text[3] - '1';
  return (uint16_t)(toFile | toRow << 3 | fromFile << 6 | fromRow << 9 | promotion << 12);
}

// The keys the format's description publishes, with the moves from the
// start position that lead there.
TEST(PolyglotKey, PublishedKeysFromFenAndAfterMoves) {
  struct Case {
    const char* fen;
    std::vector<std::string> moves;
    u64 key;
  };
  const Case cases[] = {
      {START, {}, START_KEY},
      {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", {"e2e4"}, 0x823c9b50fd114196ull},
      {"rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6", {"e2e4", "d7d5"}, 0x0756b94461c50fb0ull},
      {"rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR b KQkq -", {"e2e4", "d7d5", "e4e5"}, 0x662fafb965db29d4ull},
      {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6",
       {"e2e4", "d7d5", "e4e5", "f7f5"}, 0x22a48b5a8e47ff78ull},
      {"rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPPKPPP/RNBQ1BNR b kq -",
       {"e2e4", "d7d5", "e4e5", "f7f5", "e1e2"}, 0x652a607ca3f242c1ull},
      {"rnbq1bnr/ppp1pkpp/8/3pPp2/8/8/PPPPKPPP/RNBQ1BNR w - -",
       {"e2e4", "d7d5", "e4e5", "f7f5", "e1e2", "e8f7"}, 0x00fdd303c946bdd9ull},
      {"rnbqkbnr/p1pppppp/8/8/PpP4P/8/1P1PPPP1/RNBQKBNR b KQkq c3",
       {"a2a4", "b7b5", "h2h4", "b5b4", "c2c4"}, 0x3c8123ea7b067637ull},
      {"rnbqkbnr/p1pppppp/8/8/P6P/R1p5/1P1PPPP1/1NBQKBNR b Kkq -",
       {"a2a4", "b7b5", "h2h4", "b5b4", "c2c4", "b4c3", "a1a3"}, 0x5c3f9b829b279560ull},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PolyglotKey(FromFen(c.fen)), c.key) << c.fen;
    Board b = FromFen(START);
    for (const std::string& text : c.moves) {
      Move m = Find(b, text);
      MakeMove(m, b);
    }
    EXPECT_EQ(PolyglotKey(b), c.key) << "after the moves to " << c.fen;
  }
}

TEST(PolyglotEntry, DecodesHighestByteFirst) {
  const unsigned char bytes[16] = {0x46, 0x3b, 0x96, 0x18, 0x16, 0x91, 0xfc, 0x9c,
                                   0x03, 0x1c, 0x01, 0x02, 0xa0, 0xb0, 0xc0, 0xd0};
  PolyglotEntry e = DecodePolyglotEntry(bytes);
  EXPECT_EQ(e.key, START_KEY);
  EXPECT_EQ(e.move, Field("e2e4"));
  EXPECT_EQ(e.weight, 0x0102);
  EXPECT_EQ(e.learn, 0xa0b0c0d0u);
}

TEST(PolyglotEntry, MovesWithCastlingAndPromotion) {
  const char* castles = "r3k2r/8/8/8/8/8/8/R3K2R w KQkq -";
  const char* blackCastles = "r3k2r/8/8/8/8/8/8/R3K2R b KQkq -";
  const char* promotes = "1n2k3/P7/8/8/8/8/7p/4K3 w - -";
  const char* blackPromotes = "1n2k3/P7/8/8/8/8/7p/4K3 b - -";
  struct Case {
    const char* fen;
    uint16_t field;
    const char* expected;  // "" when the field names no legal move
  } cases[] = {
      {START, Field("e2e4"), "e2e4"},
      {START, Field("g1f3"), "g1f3"},
      {START, Field("e2e5"), ""},
      {START, Field("e7e5"), ""},  // the other side's move
      {castles, Field("e1h1"), "e1g1"},
      {castles, Field("e1a1"), "e1c1"},
      {blackCastles, Field("e8h8"), "e8g8"},
      {blackCastles, Field("e8a8"), "e8c8"},
      {castles, Field("e1g1"), "e1g1"},  // the engine's own form is read as well
      {"r3k2r/8/8/8/8/8/8/R3K2R w - -", Field("e1h1"), ""},
      {"4k3/8/8/8/8/8/8/R3K1R1 w Q -", Field("e1h1"), ""},  // no rook in the corner
      {promotes, Field("a7a8", 4), "a7a8q"},
      {promotes, Field("a7b8", 1), "a7b8n"},
      {promotes, Field("a7a8", 3), "a7a8r"},
      {promotes, Field("a7a8"), ""},
      {promotes, Field("a7a8", 5), ""},
      {blackPromotes, Field("h2h1", 2), "h2h1b"},
      {START, Field("e2e4", 4), ""},
  };
  for (const Case& c : cases) {
    Move m = PolyglotMove(FromFen(c.fen), c.field);
    EXPECT_EQ(m ? Text(m) : "", c.expected) << c.fen << " field " << c.field;
  }
}

TEST(PolyglotChoice, DrawsLandInProportionToWeight) {
  const int weights[] = {1, 2, 0, 7};
  // The draw is taken modulo the total of 10 and walks the rows.
  const struct {
    uint32_t r;
    int row;
  } boundaries[] = {{0, 0}, {1, 1}, {2, 1}, {3, 3}, {9, 3}, {10, 0}, {4294967290u, 0}};
  for (const auto& b : boundaries) EXPECT_EQ(ChooseByWeight(weights, 4, b.r), b.row) << b.r;

  std::mt19937 generator(2026);
  const int draws = 100000;
  int counts[4] = {};
  for (int i = 0; i < draws; i++) counts[ChooseByWeight(weights, 4, (uint32_t)generator())]++;
  EXPECT_EQ(counts[2], 0);
  for (int row = 0; row < 4; row++) EXPECT_NEAR(counts[row] / (double)draws, weights[row] / 10.0, 0.01) << row;

  const int zero[] = {0, 0};
  EXPECT_EQ(ChooseByWeight(zero, 2, 5), -1);
  EXPECT_EQ(ChooseByWeight(weights, 0, 5), -1);
}

struct Entry {
  u64 key;
  uint16_t move;
  uint16_t weight;
};

std::string BookBytes(const std::vector<Entry>& entries) {
  std::string bytes;
  for (const Entry& e : entries) {
    for (int shift = 56; shift >= 0; shift -= 8) bytes += (char)(e.key >> shift);
    bytes += (char)(e.move >> 8);
    bytes += (char)e.move;
    bytes += (char)(e.weight >> 8);
    bytes += (char)e.weight;
    bytes += std::string(4, '\0');
  }
  return bytes;
}

// A book file in a temporary folder, opened as the engine opens it.
struct BookFixture {
  TempDir dir;
  PolyglotBook book = {nullptr, 0};
  explicit BookFixture(const std::vector<Entry>& entries) {
    std::string name = dir.File("test.bin");
    WriteTextFile(name, BookBytes(entries));
    EXPECT_EQ(OpenPolyglotBook(fopen(name.c_str(), "rb"), name.c_str(), book), 0);
  }
  ~BookFixture() { ClosePolyglotBook(book); }
};

TEST(PolyglotSearch, FindsTheFirstEntryOfAKeyAnywhereInTheFile) {
  BookFixture f({{5, 1, 1}, {9, 1, 1}, {9, 2, 1}, {9, 3, 1}, {20, 1, 1}, {31, 1, 1}, {31, 2, 1}});
  ASSERT_EQ(f.book.entries, 7);
  const struct {
    u64 key;
    long index;
  } cases[] = {{5, 0}, {9, 1}, {20, 4}, {31, 5}, {0, -1}, {10, -1}, {32, -1}, {~0ull, -1}};
  for (const auto& c : cases) EXPECT_EQ(FindPolyglotKey(f.book, c.key), c.index) << c.key;

  BookFixture single({{START_KEY, Field("e2e4"), 1}});
  EXPECT_EQ(FindPolyglotKey(single.book, START_KEY), 0);
  EXPECT_EQ(FindPolyglotKey(single.book, START_KEY + 1), -1);
}

// Weight 0, a move that is not legal and a repeated move, between keys of
// other positions.
const std::vector<Entry> startBook = {
    {START_KEY - 1, Field("a2a3"), 9}, {START_KEY, Field("e2e4"), 10}, {START_KEY, Field("d2d4"), 0},
    {START_KEY, Field("e2e5"), 50},    {START_KEY, Field("g1f3"), 3},  {START_KEY, Field("e2e4"), 5},
    {START_KEY + 1, Field("h2h3"), 9},
};

TEST(PolyglotSearch, BookMovesAreLegalWithWeightAndMerged) {
  BookFixture f(startBook);
  Move moves[POLYGLOT_MAX_MOVES];
  int weights[POLYGLOT_MAX_MOVES];
  int n = PolyglotBookMoves(f.book, FromFen(START), moves, weights, POLYGLOT_MAX_MOVES);
  ASSERT_EQ(n, 2);
  EXPECT_EQ(Text(moves[0]), "e2e4");
  EXPECT_EQ(weights[0], 15);
  EXPECT_EQ(Text(moves[1]), "g1f3");
  EXPECT_EQ(weights[1], 3);
  EXPECT_EQ(PolyglotBookMoves(f.book, FromFen("4k3/8/8/8/8/8/8/4K3 w - -"), moves, weights, 4), 0);
}

// The rows "bk" prints, for both kinds of book, from the current game.
TEST(BookListing, RowsWithPercentagesForBothKinds) {
  ReadFen(START, mainBoard);
  bookLine[0] = 0;
  BookMoveRow rows[BOOK_ROWS_MAX];
  {
    BookFixture f(startBook);
    polyglotBook = f.book;
    int n = ListBookMoves(rows, BOOK_ROWS_MAX);
    polyglotBook = {nullptr, 0};
    ASSERT_EQ(n, 2);
    EXPECT_STREQ(rows[0].move, "e2e4");
    EXPECT_EQ(rows[0].weight, 15);
    EXPECT_NEAR(rows[0].percent, 83.33, 0.01);
    EXPECT_STREQ(rows[1].move, "g1f3");
    EXPECT_NEAR(rows[1].percent, 16.67, 0.01);
  }

  TempDir dir;
  std::string name = dir.File("book.txt");
  WriteTextFile(name,
                "      0d2d4d7d5c2c4\r\n"
                "      0e2e4b8c6g1f3\r\n"
                "      0e2e4e7e5b1c3\r\n"
                "      0e2e4e7e5g1f3\r\n");
  strcpy(bookName, name.c_str());
  ASSERT_EQ(OpenBook(), 0);
  int n = ListBookMoves(rows, BOOK_ROWS_MAX);
  ASSERT_EQ(n, 2);
  EXPECT_STREQ(rows[0].move, "e2e4");  // not "e2e4b": the b is the next move's file
  EXPECT_EQ(rows[0].weight, 3);
  EXPECT_NEAR(rows[0].percent, 75.0, 1e-9);
  EXPECT_STREQ(rows[1].move, "d2d4");

  // After 1. e4 e5 the first run of matching lines.
  Move m = Find(mainBoard, "e2e4");
  MakeMove(m, mainBoard);
  m = Find(mainBoard, "e7e5");
  MakeMove(m, mainBoard);
  strcpy(bookLine, "e2e4e7e5");
  n = ListBookMoves(rows, BOOK_ROWS_MAX);
  ASSERT_EQ(n, 2);
  EXPECT_STREQ(rows[0].move, "b1c3");
  EXPECT_STREQ(rows[1].move, "g1f3");
  EXPECT_NEAR(rows[1].percent, 50.0, 1e-9);

  strcpy(bookLine, "8");
  EXPECT_EQ(ListBookMoves(rows, BOOK_ROWS_MAX), 0);

  CloseBook();
  bookName[0] = 0;
  bookLine[0] = 0;
  ReadFen(START, mainBoard);
}

}  // namespace
