// The engine as a child process: start-up, the rc file, the log, and the
// commands of the main loop, each run in a fresh working directory.
#include <gtest/gtest.h>
#include <signal.h>

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "board/fen.h"
#include "capture.h"
#include "process.h"

static const std::regex GENERATED_LINE("# Generated ([0-9]+) random numbers");

static std::string TodayLine() {
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  char text[64];
  snprintf(text, sizeof(text), "[Date \"%d.%d.%d\"]", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  return text;
}

// The lines after the start-up lines (which end with the random-number line).
static std::vector<std::string> Replies(const std::string& output) {
  std::vector<std::string> lines = SplitLines(output);
  for (size_t i = 0; i < lines.size(); i++) {
    if (std::regex_match(lines[i], GENERATED_LINE)) return std::vector<std::string>(lines.begin() + i + 1, lines.end());
  }
  ADD_FAILURE() << "no start-up lines in:\n" << output;
  return {};
}

TEST(EngineStartUp, WithoutRcFileUsesDefaultsAndWritesTheLog) {
  TempDir dir;
  std::string before = TodayLine();
  EngineRun run = RunEngine("quit\n", dir.path);
  std::string after = TodayLine();
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 0);
  std::vector<std::string> lines = SplitLines(run.output);
  ASSERT_EQ(lines.size(), 5u) << run.output;
  EXPECT_EQ(lines[0], "Cannot open RC file.");
  EXPECT_EQ(lines[1], "Resource file not found.");
  EXPECT_EQ(lines[2], "Welcome to Quorvel 2.26");
  std::smatch count;
  ASSERT_TRUE(std::regex_match(lines[3], count, GENERATED_LINE)) << lines[3];
  EXPECT_LT(std::stoi(count[1]), 200);
  EXPECT_EQ(lines[4], "Received quit. Need to exit game.");

  std::vector<std::string> log = SplitLines(ReadTextFile(dir.File("Quorvel.log")));
  ASSERT_EQ(log.size(), 1u);
  EXPECT_TRUE(log[0] == before || log[0] == after) << log[0];
}

TEST(EngineStartUp, ReportsRcSettingsInFileOrder) {
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"),
                "# engine settings\r\n"
                "\r\n"
                "hash 16\r\n"
                "resign -5\r\n"
                "kibitz off\n"
                "colour white\n"
                "hash 5000\n"
                "resign 300\n");
  // An old log is replaced.
  WriteTextFile(dir.File("Quorvel.log"), "old log line\n");
  EngineRun run = RunEngine("exit\n", dir.path);
  ASSERT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitStatus, 0);
  std::vector<std::string> lines = SplitLines(run.output);
  const std::vector<std::string> expected = {
      "# Resign Threshold set to -5",
      "Invalid resign threshold.  Default 1000 set.",
      "tellics kibitz kibitz is on.",
      "Error (unknown RC command): colour",
      "Error (hash size must be 1 to 4294 MB): 5000",
      "# Resign Threshold set to 300",
      "Welcome to Quorvel 2.26",
  };
  ASSERT_GE(lines.size(), expected.size() + 2) << run.output;
  for (size_t i = 0; i < expected.size(); i++) EXPECT_EQ(lines[i], expected[i]);
  EXPECT_TRUE(std::regex_match(lines[expected.size()], GENERATED_LINE));
  EXPECT_EQ(lines[expected.size() + 1], "Received exit. Exiting game.");
  EXPECT_EQ(ReadTextFile(dir.File("Quorvel.log")).find("old log line"), std::string::npos);
}

TEST(EngineCommands, RepliesToEachLine) {
  struct Case {
    const char* name;
    std::string input;
    std::vector<std::string> replies;
  };
  const std::string longWord(63, 'a');
  const std::vector<Case> cases = {
      {"xboard then quit", "xboard\nquit\n", {"# xboard mode activated", "Received quit. Need to exit game."}},
      {"unknown words",
       "xboardx\nsetboardx 8/8/8/8/8/8/8/8 w - -\nsetb\nQuit\nexit\nxboard\n",
       {"Error (unknown command): xboardx", "Error (unknown command): setboardx", "Error (unknown command): setb",
        "Error (unknown command): Quit", "Received exit. Exiting game."}},
      {"blank lines are silent", "\n   \n\t \r\n\r\nxboard\nquit\n",
       {"# xboard mode activated", "Received quit. Need to exit game."}},
      {"CR-LF line ends", "xboard\r\nquit\r\n", {"# xboard mode activated", "Received quit. Need to exit game."}},
      {"end of input ends the engine", "xboard\n", {"# xboard mode activated"}},
      {"no input at all", "", {}},
      {"last line without newline", "xboard\nquit", {"# xboard mode activated", "Received quit. Need to exit game."}},
      {"over-long word", std::string(200, 'a') + "\nquit\n",
       {"Error (unknown command): " + longWord, "Received quit. Need to exit game."}},
      {"line over 511 characters comes in two pieces", std::string(600, 'a') + "\nquit\n",
       {"Error (unknown command): " + longWord, "Error (unknown command): " + longWord,
        "Received quit. Need to exit game."}},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineRun run = RunEngine(c.input, dir.path);
    EXPECT_FALSE(run.timedOut) << c.name;
    EXPECT_EQ(run.exitStatus, 0) << c.name;
    EXPECT_EQ(Replies(run.output), c.replies) << c.name;
  }
}

TEST(EngineCommands, SetboardShowsTheBoardAndDisplayRepeatsIt) {
  const char* fen = "4k3/8/8/3pP3/8/8/8/4K3 w - d6";
  Board board;
  CaptureOutput([&] { ReadFen(fen, board); });
  char keyRow[128];
  snprintf(keyRow, sizeof(keyRow), "-- -- -- -- -- -- -- --    hashkey: %" PRIX64, board.hashkey);
  const std::vector<std::string> display = {
      "FEN: 4k3/8/8/3pP3/8/8/8/4K3 w - d6",
      "from bitboards:",
      "-- -- -- -- bK -- -- -- ",
      "-- -- -- -- -- -- -- --    castleStat: 192",
      keyRow,
      "-- -- -- bP wP -- -- -- ",
      "-- -- -- -- -- -- -- -- ",
      "-- -- -- -- -- -- -- -- ",
      "-- -- -- -- -- -- -- -- ",
      "-- -- -- -- wK -- -- -- ",
  };
  std::vector<std::string> expected = {"not parsed:0 1"};
  for (int i = 0; i < 3; i++) expected.insert(expected.end(), display.begin(), display.end());
  expected.push_back("Received quit. Need to exit game.");

  TempDir dir;
  EngineRun run = RunEngine(std::string("setboard ") + fen + " 0 1\r\nd\ndisplay\nquit\n", dir.path);
  EXPECT_EQ(run.exitStatus, 0);
  EXPECT_EQ(Replies(run.output), expected);
}

TEST(EngineProcess, EndOfInputWhileWaitingEndsTheEngine) {
  TempDir dir;
  EngineProcess engine;
  ASSERT_TRUE(StartEngine(engine, dir.path));
  std::vector<std::string> startUp;
  ASSERT_TRUE(ReadUntil(engine, "Welcome to Quorvel 2.26", &startUp));
  // The interface's interrupt signal does not end the engine.
  kill(engine.pid, SIGINT);
  ASSERT_TRUE(SendLine(engine, "xboard"));
  std::string line;
  ASSERT_TRUE(ReadLine(engine, line));
  EXPECT_TRUE(std::regex_match(line, GENERATED_LINE)) << line;
  ASSERT_TRUE(ReadLine(engine, line));
  EXPECT_EQ(line, "# xboard mode activated");
  EXPECT_TRUE(ReadAvailable(engine, 100).empty());

  CloseInput(engine);
  ASSERT_TRUE(WaitForExit(engine));
  EXPECT_EQ(engine.exitStatus, 0);
  EXPECT_EQ(engine.pending, "");
}
