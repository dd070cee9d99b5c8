// Malformed, over-long, endless and out-of-range input: each gets one clear
// line and the engine goes on, losing nothing it already had.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "process.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

bool HasLine(const std::string& output, const std::string& line) {
  for (const std::string& l : SplitLines(output))
    if (l == line) return true;
  return false;
}

bool Exists(const std::string& name) {
  struct stat info;
  return lstat(name.c_str(), &info) == 0;
}

const std::string START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// ---------------------------------------------------------------- start-up and files

// Every shape of book file: one line at start-up, and the engine starts
// (with the book only when the file is one).
TEST(BadInputFiles, BookOfEveryShapeGivesOneLineAtStartUp) {
  struct Case {
    const char* name;
    std::string contents;  // "<dir>" makes a directory
    std::string expected;
  };
  const std::string text255 = "      0" + std::string(248, 'a');  // 255 characters
  const Case cases[] = {
      {"empty", "", "Error: book b has no lines; book not used."},
      {"one NUL byte", std::string(1, '\0'), "Error: book b has a NUL byte in line 1; book not used."},
      {"NUL first", std::string("\0abc\n", 5), "Error: book b has a NUL byte in line 1; book not used."},
      {"NUL later", std::string("      0e2e4\r\n     0\0d2d4\r\n", 26), "Error: book b has a NUL byte in line 2; book not used."},
      {"255 characters", text255 + "\r\n" + text255 + "\r\n", "#book b has 2 lines."},
      {"254 characters", text255.substr(1) + "\r\n", "#book b has 1 lines."},
      {"256 characters", text255 + "a\r\n", "Error: book b has a line longer than 255 characters; book not used."},
      {"uneven lines", "      0e2e4e7e5\r\n      0d2d4\r\n",
       "Error: book b has line 2 of 13 bytes where line 1 has 17; book not used."},
      {"last line without its end", "      0e2e4\r\n      0d2d4", "#book b has 2 lines."},
      {"directory", "<dir>", "Error: book b is not a regular file; book not used."},
  };
  for (const Case& c : cases) {
    TempDir dir;
    WriteTextFile(dir.File("Quorvel.rc"), "hash 1\nbook b\n");
    if (c.contents == "<dir>")
      ASSERT_EQ(mkdir(dir.File("b").c_str(), 0755), 0);
    else
      WriteTextFile(dir.File("b"), c.contents);
    EngineRun run = RunEngine("ping 5\nquit\n", dir.path);
    EXPECT_EQ(run.exitStatus, 0) << c.name << "\n" << run.output;
    EXPECT_TRUE(HasLine(run.output, c.expected)) << c.name << "\n" << run.output;
    EXPECT_TRUE(Contains(run.output, "pong 5\n")) << c.name;
  }
}

// A PGN line of any length is read whole: a comment that runs past 4,095
// characters still closes, and the next game still gives its line.
TEST(BadInputFiles, LongPgnLinesLoseNothing) {
  const std::string moves1 =
      "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3 O-O 9. h3 Nb8 10. d4 "
      "Nbd7 11. c4 c6 12. cxb5 axb5 13. Nc3 Bb7 14. Bg5 b4 15. Nb1 h6 16. Bh4 c5";
  const std::string moves2 =
      "1. d4 d5 2. c4 e6 3. Nc3 Nf6 4. Bg5 Be7 5. e3 O-O 6. Nf3 Nbd7 7. Rc1 c6 8. Bd3 dxc4 9. Bxc4 Nd5 "
      "10. Bxe7 Qxe7 11. O-O Nxc3 12. Rxc3 e5 13. Qc2 e4 14. Nd2 Nf6 15. Rb3 b6 16. a4 Bg4";
  TempDir dir;
  WriteTextFile(dir.File("g.pgn"), "[Event \"a\"]\n\n{" + std::string(5000, 'x') + "} " + moves1 + " 1-0\n\n" +
                                       "[Event \"b\"]\n\n" + moves2 + " " + std::string(5000, ' ') + "1/2-1/2\n");
  EngineRun run = RunEngine("book g.pgn\nquit\n", dir.path, 60000);
  const std::vector<std::string> lines = SplitLines(ReadTextFile(dir.File("g.pgn.txt")));
  ASSERT_EQ(lines.size(), 2u) << run.output;
  EXPECT_EQ(lines[0].substr(0, 16), "e2e4e7e5g1f3b8c6");
  EXPECT_EQ(lines[1].substr(0, 16), "d2d4d7d5c2c4e7e6");
}

// File commands take regular files only: a device has no end and a
// directory or device has no place for an output file beside it. Each is
// refused with one line, nothing is written, and the engine answers next.
TEST(BadInputFiles, FileCommandsRefuseWhatIsNotARegularFile) {
  TempDir dir;
  ASSERT_EQ(symlink("/dev/zero", dir.File("zero").c_str()), 0);
  ASSERT_EQ(symlink("/dev/null", dir.File("null").c_str()), 0);
  ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
  WriteTextFile(dir.File("ok.epd"), "4k3/8/8/8/8/8/8/4K3 w - -\n");
  ASSERT_EQ(mkdir(dir.File("ok.epd.ban").c_str(), 0755), 0);
  struct Case {
    const char* command;
    const char* reply;
    const char* notWritten;
  };
  const Case cases[] = {
      {"epdscore zero 1", "Error (epdscore): zero is not a regular file.", "zero.ban"},
      {"book zero", "Error (book): zero is not a regular file.", "zero.txt"},
      {"epdscore null 1", "Error (epdscore): null is not a regular file.", "null.ban"},
      {"book sub", "Error (book): sub is not a regular file.", "sub.txt"},
      {"epdscore ok.epd 1", "Cannot create log file.", ""},
  };
  for (const Case& c : cases) {
    EngineRun run = RunEngine(std::string(c.command) + "\nping 3\nquit\n", dir.path, 20000);
    EXPECT_FALSE(run.timedOut) << c.command;
    EXPECT_TRUE(Contains(run.output, std::string(c.reply) + "\npong 3\n")) << c.command << "\n" << run.output;
    if (c.notWritten[0]) {
      EXPECT_FALSE(Exists(dir.File(c.notWritten))) << c.command;
    }
  }
}

// A run stopped by "quit" says so and how far it got, prints no closing
// line of a finished run, and leaves an earlier complete scored book alone.
TEST(BadInputFiles, RunsStoppedByQuitSaySoAndLeaveNoShortBook) {
  TempDir dir;
  const std::string book = "e2e4e7e5g1f3b8c6\r\nd2d4d7d5c2c4e7e6\r\nc2c4e7e5b1c3g8f6\r\n";
  WriteTextFile(dir.File("b.txt"), book);
  const std::string earlier = "     10e2e4e7e5g1f3b8c6\r\n";
  WriteTextFile(dir.File("b.txt.upg.txt"), earlier);
  WriteTextFile(dir.File("s.epd"), "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - id \"k\";\n");
  WriteTextFile(dir.File("Quorvel.rc"), "hash 1\nbook b.txt\n");
  struct Case {
    const char* command;
    const char* stopped;
    const char* finished;
  };
  const Case cases[] = {
      {"upgrade", "Book upgrade stopped after 0 of 3 lines; b.txt.upg.txt not written.", "finished book upgrade."},
      {"epdscore s.epd 30", "EPD run stopped after 0 positions.", "Done EPD"},
      {"bench", "Bench stopped after 0 of 10 positions.", "Total bench nodes:"},
  };
  for (const Case& c : cases) {
    EngineRun run = RunEngine(std::string(c.command) + "\nquit\n", dir.path, 60000);
    EXPECT_FALSE(run.timedOut) << c.command;
    EXPECT_TRUE(Contains(run.output, std::string(c.stopped) + "\n")) << c.command << "\n" << run.output;
    EXPECT_FALSE(Contains(run.output, c.finished)) << c.command;
  }
  EXPECT_EQ(ReadTextFile(dir.File("b.txt.upg.txt")), earlier);
  EXPECT_FALSE(Exists(dir.File("b.txt.upg.txt.part")));
  EXPECT_EQ(ReadTextFile(dir.File("s.epd.ban")).find("EPD run stopped after 0 positions.\n") != std::string::npos, true);
}

// Each EPD line stands alone: no id or bm of an earlier line, the CR of a
// CR-LF end not counted against the 1,023 characters, and a last line of
// one character skipped like any other.
TEST(BadInputFiles, EpdLinesStandAlone) {
  TempDir dir;
  const std::string position = "4k3/8/8/8/8/8/8/R3K3 w - - ";
  std::string full = position + "id \"long\"; c0 ";
  full += std::string(1023 - full.size() - 1, 'a') + ";";
  ASSERT_EQ(full.size(), 1023u);
  WriteTextFile(dir.File("s.epd"), position + "bm Ra8+; id \"first\";\r\n" + position + "\r\n" + full + "\r\nx");
  std::vector<std::string> output;
  ASSERT_TRUE(RunUntilLine(dir.path, "sd 2\nepdscore s.epd 0\n", "Done EPD", &output));
  const std::vector<std::string> results = SplitLines(ReadTextFile(dir.File("s.epd.ban")));
  ASSERT_GE(results.size(), 4u) << ReadTextFile(dir.File("s.epd.ban"));
  EXPECT_EQ(results[1].rfind("\"first\"     Ra8+     a1a8 ", 0), 0u) << results[1];
  EXPECT_EQ(results[2].rfind("                   ", 0), 0u) << results[2];
  EXPECT_EQ(results[3].rfind("\"long\" ", 0), 0u) << results[3];
  for (const std::string& line : output) {
    EXPECT_EQ(line.find("longer than"), std::string::npos) << line;
    EXPECT_NE(line, "x");
  }
}

// ---------------------------------------------------------------- numbers

// Every numeric argument is held to what its consumer can take; the reply
// shows the value used. Counts deeper than the engine can count are refused.
TEST(BadInputNumbers, ArgumentsAreClampedOrRefusedInTheReply) {
  struct Case {
    const char* command;
    std::vector<std::string> reply;
  };
  const Case cases[] = {
      {"perft 2147483647", {"Error (perft): depth 2147483647 is outside 0 to 13."}},
      {"perft -1", {"Error (perft): depth -1 is outside 0 to 13."}},
      {"divide 99999", {"Error (divide): depth 99999 is outside 1 to 13."}},
      {"divide -2147483648", {"Error (divide): depth -2147483648 is outside 1 to 13."}},
      {"divide 0", {"Error (divide): depth 0 is outside 1 to 13."}},
      {"level 2147483647 5 0",
       {"# level moves 2147483647 is out of range; 10000 used.", "Time control: 10000 moves in 5.000000 minutes."}},
      {"level 40 -5 -3",
       {"# level minutes -5 is out of range; 0 used.", "# level increment -3 is out of range; 0 used.",
        "Time control: 40 moves in 0.000000 minutes."}},
      {"level 0 2147483647 2147483647",
       {"# level minutes 2147483647 is out of range; 10000 used.",
        "# level increment 2147483647 is out of range; 600000 used.", "Time control: 0 moves in 10000.000000 minutes.",
        "Increment: 600000 seconds"}},
      {"time 2147483647", {"# time 2147483647 is out of range; 60000000 used.", "Set time to 600000.000000 seconds."}},
      {"time -2147483648", {"# time -2147483648 is out of range; 0 used.", "Set time to 0.000000 seconds."}},
      {"otim -2147483648", {"# otim -2147483648 is out of range; 0 used."}},
      {"sd 99999", {"# sd 99999 is out of range; 60 used."}},
      {"sd -4", {"# sd -4 is out of range; 0 used."}},
      {"setboard 4k3/8/8/8/8/8/8/4K3 w - - sd 99999;",
       {"# sd 99999 is out of range; 60 used.", "searchDepth set at 60"}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineRun run = RunEngine(std::string(c.command) + "\nping 9\nquit\n", dir.path);
    const size_t welcome = run.output.find("# Generated ");
    ASSERT_NE(welcome, std::string::npos) << run.output;
    std::vector<std::string> lines = SplitLines(run.output.substr(run.output.find('\n', welcome) + 1));
    ASSERT_GT(lines.size(), c.reply.size()) << c.command << "\n" << run.output;
    for (size_t i = 0; i < c.reply.size(); i++) EXPECT_EQ(lines[i], c.reply[i]) << c.command;
  }
}

// Out-of-range time control and depth still give a quick, sound search:
// the engine moves and answers.
TEST(BadInputNumbers, ClampedValuesStillPlay) {
  TempDir dir;
  EngineRun run = RunEngine("level 2147483647 5 0\nsd 99999\nsd 3\nnew\ngo\nping 4\nquit\n", dir.path, 60000);
  EXPECT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_TRUE(Contains(run.output, "\nmove ")) << run.output;
  EXPECT_TRUE(Contains(run.output, "pong 4\n"));
}

// ---------------------------------------------------------------- positions and output

// A FEN with an error is refused whole: the game position stays as it was.
TEST(BadInputPositions, RefusedFenKeepsThePosition) {
  const char* const bad[] = {
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR x KQkq -",
      "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR",
      "8/8/8/8/8/8/8/8/8/8/k7 w - -",
  };
  for (const char* fen : bad) {
    TempDir dir;
    EngineRun run = RunEngine(std::string("new\nforce\nsetboard ") + fen + "\nperft 1\nquit\n", dir.path);
    EXPECT_TRUE(Contains(run.output, "perft 1: 20 nodes")) << fen << "\n" << run.output;
    EXPECT_FALSE(Contains(run.output, "FEN: " + std::string(fen))) << fen;
    EXPECT_FALSE(Contains(run.output, "stalemate")) << fen;
  }
}

// A search that ends in a search error prints no line of an earlier search
// (here the start-up speed test's g1f3 ...): the suite's position has no
// knight at all.
TEST(BadInputPositions, ThinkingLinesHoldOnlyMovesOfTheSearchedPosition) {
  TempDir dir;
  WriteTextFile(dir.File("k.epd"), "4k3/8/8/8/8/8/8/K3Q3 w - - id \"x\";\n");
  std::vector<std::string> output;
  ASSERT_TRUE(RunUntilLine(dir.path, "epdscore k.epd 1\n", "Done EPD", &output));
  // The start-up speed test's own lines come before the run.
  size_t run = 0;
  while (run < output.size() && output[run].rfind("analysis file:", 0) != 0) run++;
  ASSERT_LT(run, output.size());
  for (size_t i = run; i < output.size(); i++) EXPECT_EQ(output[i].find("g1f3"), std::string::npos) << output[i];
  EXPECT_EQ(ReadTextFile(dir.File("k.epd.ban")).find("g1f3"), std::string::npos);
}

// During the engine's own long search a put-back "ping" and 18 more lines
// fill the queue. "?" or "quit" behind them still acts at once, and no
// overflow is reported, since no line is lost.
TEST(BadInputPositions, UrgentCommandsActBehindAFullQueue) {
  struct Case {
    const char* urgent;
    const char* awaited;  // the line that shows it acted
  };
  const Case cases[] = {{"?", "pong 1"}, {"quit", "Received quit. Need to exit game."}};
  for (const Case& c : cases) {
    TempDir dir;
    WriteTextFile(dir.File("Quorvel.rc"), "hash 1\n");
    EngineProcess engine;
    ASSERT_TRUE(StartEngine(engine, dir.path));
    ASSERT_TRUE(ReadUntil(engine, "Welcome to Quorvel 2.26"));
    std::string burst = "level 1 100 0\nnew\ngo\n";
    ASSERT_TRUE(SendText(engine, burst));
    ASSERT_TRUE(ReadUntil(engine, "Time control: 1 moves in 100.000000 minutes."));
    usleep(300000);  // the search is under way when the burst arrives
    burst = "ping 1\n";
    for (int i = 0; i < 25; i++) burst += "post\n";
    burst += std::string(c.urgent) + "\n";
    ASSERT_TRUE(SendText(engine, burst));
    std::vector<std::string> before;
    EXPECT_TRUE(ReadUntil(engine, c.awaited, &before, 15000)) << c.urgent;
    for (const std::string& line : before) EXPECT_EQ(line.find("overflow"), std::string::npos) << line;
    SendLine(engine, "quit");
    EXPECT_TRUE(WaitForExit(engine, 15000));
  }
}

// A console tool that searches or counts on its own waits for a running
// search to end instead of running inside it.
TEST(BadInputPositions, SearchingToolsWaitForTheRunningSearch) {
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"), "hash 1\n");
  WriteTextFile(dir.File("s.epd"), "4k3/8/8/8/8/8/4K3/R6R w - - id \"two\";\n");
  EngineProcess engine;
  ASSERT_TRUE(StartEngine(engine, dir.path));
  ASSERT_TRUE(ReadUntil(engine, "Welcome to Quorvel 2.26"));
  ASSERT_TRUE(SendText(engine, "level 1 100 0\nnew\ngo\n"));
  ASSERT_TRUE(ReadUntil(engine, "Time control: 1 moves in 100.000000 minutes."));
  usleep(300000);  // the search is under way
  ASSERT_TRUE(SendText(engine, "epdscore s.epd 1\nperft 2\n?\n"));
  std::vector<std::string> output;
  ASSERT_TRUE(ReadUntil(engine, "Done EPD", &output, 30000));
  std::string line;
  bool counted = false;
  while (!counted && ReadLine(engine, line, 30000)) counted = line.rfind("perft 2: ", 0) == 0;
  ASSERT_TRUE(counted);
  size_t move = output.size(), analysis = output.size();
  for (size_t i = 0; i < output.size(); i++) {
    if (output[i].rfind("move ", 0) == 0 && move == output.size()) move = i;
    if (output[i].rfind("analysis file:", 0) == 0) analysis = i;
  }
  EXPECT_LT(move, analysis) << "the suite ran inside the engine's own search";
  SendLine(engine, "quit");
  EXPECT_TRUE(WaitForExit(engine, 15000));
}

}  // namespace
