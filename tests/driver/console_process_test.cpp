// The console tools a tester drives by hand: the perft self-test, built-in
// positions, the benchmark, status, history and the EPD runner.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Lines of output that start with prefix, in order.
std::vector<std::string> LinesStartingWith(const std::string& output, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : SplitLines(output))
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  return found;
}

TEST(ConsoleTools, SelfTestPassesOnAllFivePositions) {
  TempDir dir;
  EngineRun run = RunEngine("test\nd\nquit\n", dir.path, 600000);
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  const std::vector<std::string> counts = LinesStartingWith(run.output, "perft 5: ");
  ASSERT_EQ(counts.size(), 5u) << run.output;
  const char* totals[] = {"4865609", "193690690", "18365789", "39918895", "846746"};
  for (int i = 0; i < 5; i++) EXPECT_EQ(counts[i].rfind(std::string("perft 5: ") + totals[i] + " nodes", 0), 0u);
  EXPECT_EQ(LinesStartingWith(run.output, "pass").size(), 5u);
  EXPECT_FALSE(Contains(run.output, "FAIL!"));
  EXPECT_EQ(LinesStartingWith(run.output, "Total time: ").size(), 1u);
  // The board is left at the last test position.
  EXPECT_TRUE(Contains(run.output, "7r/p5p1/5k2/P2pNp1P/1P1P2p1/6K1/5P2/8 w - -")) << run.output;
}

TEST(ConsoleTools, SetLoadsBuiltInPositionsAndIgnoresUnknownNames) {
  struct Case {
    const char* name;
    std::string expected;  // lines that follow the command, up to the next "d"
  };
  const Case cases[] = {
      {"kiwi", "kiwi: r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -\n"},
      {"bench", "FEN3: 1rb2rk1/p4ppp/1p1qp1n1/3n2N1/2pP4/2P3P1/PPQ2PBP/R1B1R1K1 w - -\n"},
      {"55", "parsed: bm=Nxe3\nfine70: r4rk1/n1pp1ppp/p7/1pqPp3/6n1/PB1PPN1P/1PP3P1/R3QRK1 b - - bm Nxe3\n"},
      {"nosuch", ""},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineRun run = RunEngine(std::string("set ") + c.name + "\nping 1\nquit\n", dir.path);
    const size_t welcome = run.output.find("# Generated ");
    const size_t start = run.output.find('\n', welcome) + 1;
    const size_t pong = run.output.find("pong 1\n");
    ASSERT_NE(pong, std::string::npos) << run.output;
    EXPECT_EQ(run.output.substr(start, pong - start).find(c.expected), 0u) << c.name << "\n" << run.output;
    if (c.expected.empty()) {
      EXPECT_EQ(pong, start) << run.output;
    }
  }
}

// The full benchmark runs for many minutes; its lines and total are checked
// on shallow depths by the unit tests. Here: "quit" ends it at once.
TEST(ConsoleTools, QuitEndsTheBenchmark) {
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"), "hash 16\n");
  EngineProcess engine;
  ASSERT_TRUE(StartEngine(engine, dir.path));
  ASSERT_TRUE(SendLine(engine, "bench"));
  ASSERT_TRUE(ReadUntil(engine, "testpos1", nullptr, 60000));
  ASSERT_TRUE(SendLine(engine, "quit"));
  std::vector<std::string> rest;
  EXPECT_TRUE(ReadUntil(engine, "Received quit. Need to exit game.", &rest, 60000));
  EXPECT_TRUE(WaitForExit(engine, 10000));
  std::string line;
  while (ReadLine(engine, line, 1000)) rest.push_back(line);
  for (const std::string& l : rest) EXPECT_NE(l, "testpos3") << "the benchmark went on after quit";
}

TEST(ConsoleTools, StatusReportsFlagsDepthAndAnEmptyTable) {
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"), "hash 1\n");
  EngineRun run = RunEngine("status\nquit\n", dir.path);
  EXPECT_TRUE(Contains(run.output, "inSearch=0 endSearch=1 inPonder=0\nfixedDepth=0\n")) << run.output;
  EXPECT_TRUE(Contains(run.output, "Hash table: 41666 entries, 0.000000 filled = 0.000000 pct filled.\n"))
      << run.output;
}

TEST(ConsoleTools, HistoryListsTheGameMoves) {
  TempDir dir;
  EngineRun empty = RunEngine("new\nhistory\nping 1\nquit\n", dir.path);
  const size_t pong = empty.output.find("pong 1\n");
  ASSERT_NE(pong, std::string::npos);
  EXPECT_FALSE(Contains(empty.output.substr(0, pong), "move 0, ")) << empty.output;

  EngineRun played = RunEngine("new\nforce\nusermove e2e4\nusermove e7e5\nh\nquit\n", dir.path);
  EXPECT_TRUE(Contains(played.output, "move 0, (P)e2e4( )spec=0 score: 0\nmove 1, (p)e7e5( )spec=0 score: 0\n"))
      << played.output;
}

// A small suite: two positions, an empty line, an unknown opcode, a best
// move the reader cannot find and one it finds twice over.
TEST(ConsoleTools, EpdScoreWritesTheAnalysisFile) {
  TempDir dir;
  WriteTextFile(dir.File("suite.epd"),
                "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - bm Rd8#; id \"mate1\";\r\n"
                "\r\n"
                "4k3/8/8/8/8/8/4K3/R6R w - - bm Rd1; id \"two\"; xyz 5;\r\n");
  std::vector<std::string> output;
  ASSERT_TRUE(RunUntilLine(dir.path, "epdscore suite.epd 0\n", "Done EPD", &output));
  std::string run;
  for (const std::string& line : output) run += line + "\n";
  EXPECT_TRUE(Contains(run, "analysis file: suite.epd.ban   time:  1.00 sec\n")) << run;
  EXPECT_TRUE(Contains(run, "not parsed:")) << run;
  const std::vector<std::string> lines = SplitLines(ReadTextFile(dir.File("suite.epd.ban")));
  ASSERT_GE(lines.size(), 3u) << ReadTextFile(dir.File("suite.epd.ban"));
  EXPECT_EQ(lines[0], "analysis file: suite.epd.ban   time:  1.00 sec");
  EXPECT_EQ(lines[1].rfind("\"mate1\"     Rd8#     d1d8  1  31990 ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("\"two\"      Rd1     MULT ", 0), 0u) << lines[2];
  EXPECT_TRUE(lines.size() == 3 || (lines.size() == 4 && lines[3].empty()));
}

TEST(ConsoleTools, EpdScoreOnAMissingFile) {
  TempDir dir;
  EngineRun run = RunEngine("epdscore nosuch.epd 1\nping 2\nquit\n", dir.path);
  EXPECT_TRUE(Contains(run.output, "Cannot open EPD file.\npong 2\n")) << run.output;
}

}  // namespace
