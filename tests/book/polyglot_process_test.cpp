// Playing from Polyglot books: Debian's book with the shipped settings, a
// book made by polyglot's own book maker, and files that are no book.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "process.h"

namespace {

const char* const DEBIAN_BOOK = "/usr/share/games/gnuchess/book.bin";

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool FileExists(const std::string& name) {
  struct stat info;
  return stat(name.c_str(), &info) == 0;
}

// The moves a book file holds for a key, read straight from the bytes: every
// entry of the key, move field as coordinate text (castling left in the
// file's king-takes-rook form, which the start positions used here lack).
std::set<std::string> BookMovesOfKey(const std::string& bookFile, uint64_t key) {
  std::string bytes = ReadTextFile(bookFile);
  std::set<std::string> moves;
  for (size_t at = 0; at + 16 <= bytes.size(); at += 16) {
    uint64_t entryKey = 0;
    for (int i = 0; i < 8; i++) entryKey = entryKey << 8 | (unsigned char)bytes[at + i];
    if (entryKey != key) continue;
    unsigned move = (unsigned char)bytes[at + 8] << 8 | (unsigned char)bytes[at + 9];
    unsigned weight = (unsigned char)bytes[at + 10] << 8 | (unsigned char)bytes[at + 11];
    if (weight == 0) continue;
    std::string text = {(char)('a' + (move >> 6 & 7)), (char)('1' + (move >> 9 & 7)), (char)('a' + (move & 7)),
                        (char)('1' + (move >> 3 & 7))};
    moves.insert(text);
  }
  return moves;
}

// Reads up to the next "move" line; the move text, or "" when none came.
std::string NextMove(EngineProcess& engine, std::vector<std::string>* before = nullptr) {
  std::string line;
  while (ReadLine(engine, line, 20000)) {
    if (line.rfind("move ", 0) == 0) return line.substr(5);
    if (before) before->push_back(line);
  }
  return "";
}

TEST(PolyglotPlay, ShippedSettingsPlayFromDebiansBook) {
  ASSERT_TRUE(FileExists(DEBIAN_BOOK)) << DEBIAN_BOOK << " is missing: install gnuchess-book (tools/install-deps.sh)";
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"), ReadTextFile(std::string(QUORVEL_SOURCE_DIR) + "/Quorvel.rc"));
  const std::set<std::string> startMoves = BookMovesOfKey(DEBIAN_BOOK, 0x463b96181691fc9cull);
  // The Scandinavian after 1. e4 d5, a key the format's description lists.
  const std::set<std::string> scandinavianMoves = BookMovesOfKey(DEBIAN_BOOK, 0x0756b94461c50fb0ull);
  ASSERT_GT(startMoves.size(), 1u);
  ASSERT_FALSE(scandinavianMoves.empty());

  EngineProcess engine;
  ASSERT_TRUE(StartEngine(engine, dir.path));
  std::vector<std::string> start;
  ASSERT_TRUE(ReadUntil(engine, "#book /usr/share/games/gnuchess/book.bin has 180358 Polyglot entries.", &start));
  SendLine(engine, "new");
  SendLine(engine, "go");
  std::vector<std::string> before;
  std::string move = NextMove(engine, &before);
  EXPECT_EQ(startMoves.count(move), 1u) << move;
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(before.back().rfind("# book move " + move + ", weight ", 0), 0u) << before.back();

  SendLine(engine, "force");
  SendLine(engine, "setboard rnbqkbnr/ppp1pppp/8/3p4/4P3/8/PPPP1PPP/RNBQKBNR w KQkq d6");
  SendLine(engine, "go");
  move = NextMove(engine);
  EXPECT_EQ(scandinavianMoves.count(move), 1u) << move;
  SendLine(engine, "quit");
  EXPECT_TRUE(WaitForExit(engine));
}

// One drawn game (every move keeps a weight) through castling on both
// sides, an en passant capture and a promotion, made into a book by
// polyglot. With a single move for every position the engine, told "go"
// for each side in turn, plays the whole game back from the book.
TEST(PolyglotPlay, ReplaysAGameFromABookMadeByPolyglot) {
  TempDir dir;
  WriteTextFile(dir.File("game.pgn"),
                "[Event \"Book test\"]\n[Result \"1/2-1/2\"]\n\n"
                "1. e4 d5 2. exd5 Qxd5 3. Nc3 Qa5 4. d4 Nf6 5. Nf3 Bf5 6. Be2 Nc6 7. O-O O-O-O\n"
                "8. d5 e5 9. dxe6 Kb8 10. exf7 Bc5 11. f8=Q Rhxf8 1/2-1/2\n");
  const std::string make = "cd '" + dir.path + "' && PATH=\"$PATH:/usr/games\" polyglot make-book -pgn game.pgn "
                           "-bin game.bin -min-game 1 >make-book.out 2>&1";
  ASSERT_EQ(system(make.c_str()), 0) << ReadTextFile(dir.File("make-book.out"));
  WriteTextFile(dir.File("Quorvel.rc"), "hash 1\nbook game.bin\n");

  const std::vector<std::string> game = {"e2e4", "d7d5", "e4d5", "d8d5", "b1c3", "d5a5", "d2d4", "g8f6",
                                         "g1f3", "c8f5", "f1e2", "b8c6", "e1g1", "e8c8", "d4d5", "e7e5",
                                         "d5e6", "c8b8", "e6f7", "f8c5", "f7f8q", "h8f8"};
  EngineProcess engine;
  ASSERT_TRUE(StartEngine(engine, dir.path));
  ASSERT_TRUE(ReadUntil(engine, "#book game.bin has 22 Polyglot entries."));
  SendLine(engine, "new");
  for (const std::string& expected : game) {
    SendLine(engine, "go");
    ASSERT_EQ(NextMove(engine), expected);
  }
  SendLine(engine, "quit");
  EXPECT_TRUE(WaitForExit(engine));
}

// A file named .bin that is no Polyglot book gets one line and the engine
// plays without a book.
TEST(PolyglotPlay, FilesThatAreNoBook) {
  // Two entries of the start position's key, the second one cut short.
  const std::string entry = std::string("\x46\x3b\x96\x18\x16\x91\xfc\x9c\x03\x1c\x00\x01\x00\x00\x00\x00", 16);
  const std::string higher = std::string("\x50", 1) + entry.substr(1);
  const struct {
    const char* name;
    std::string contents;
    std::string line;
  } cases[] = {
      {"empty.bin", "", "Error: book empty.bin is empty; book not used."},
      {"cut.bin", entry + entry.substr(0, 9),
       "Error: book cut.bin is not a Polyglot book (25 bytes, not a whole number of 16-byte entries); book not "
       "used."},
      {"text.bin", "      0e2e4e7e5g1f3b8c6\r\n      0d2d4d7d5c2c4e7e6\r\n",
       "Error: book text.bin is a text file, not a Polyglot book; book not used."},
      {"unsorted.BIN", higher + entry,
       "Error: book unsorted.BIN is not a Polyglot book (entry 1 is out of key order); book not used."},
      {"missing.bin", "", "Cannot open book2 file missing.bin."},
  };
  for (const auto& c : cases) {
    TempDir dir;
    if (std::string(c.name) != "missing.bin") WriteTextFile(dir.File(c.name), c.contents);
    WriteTextFile(dir.File("Quorvel.rc"), std::string("hash 1\nbook ") + c.name + "\n");
    EngineRun run = RunEngine("new\nsd 2\ngo\nquit\n", dir.path);
    std::vector<std::string> lines = SplitLines(run.output);
    int mentions = 0;
    for (const std::string& l : lines) mentions += Contains(l, c.name);
    EXPECT_EQ(mentions, 1) << run.output;
    EXPECT_TRUE(Contains(run.output, c.line + "\n")) << run.output;
    EXPECT_FALSE(Contains(run.output, "# book move")) << run.output;
    EXPECT_TRUE(Contains(run.output, "\nmove ")) << run.output;
  }
}

}  // namespace
