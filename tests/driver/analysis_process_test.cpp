// Analysis mode as xboard drives it: "analyze", moves, "undo", "new" and
// "setboard" inside it, ".", "exit", and the search idling when it is done.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "process.h"
#include "protocol_helpers.h"

namespace {

// A thinking line: depth, score, centiseconds, nodes, moves.
const std::regex THINKING_LINE(" ?([0-9]+) +(-?[0-9]+) +[0-9]+ +[0-9]+ (.*)");

struct Thinking {
  int depth;
  int score;
  std::string firstMove;
};

bool ParseThinking(const std::string& line, Thinking& t) {
  std::smatch m;
  if (!std::regex_match(line, m, THINKING_LINE)) return false;
  t.depth = std::stoi(m[1]);
  t.score = std::stoi(m[2]);
  t.firstMove = m[3].str().substr(0, m[3].str().find(' '));
  return true;
}

// The thinking lines among lines.
std::vector<Thinking> ThinkingOf(const std::vector<std::string>& lines) {
  std::vector<Thinking> found;
  for (const std::string& line : lines) {
    Thinking t;
    if (ParseThinking(line, t)) found.push_back(t);
  }
  return found;
}

// Reads until the next thinking line of depth 1 (an analysis that started
// afresh) and returns it.
bool ReadRestart(EngineProcess& engine, Thinking& t, std::vector<std::string>* skipped) {
  long long deadline = NowMs() + 5000;
  std::string line;
  while (NowMs() < deadline && ReadLine(engine, line, 1000)) {
    if (skipped) skipped->push_back(line);
    if (ParseThinking(line, t) && t.depth == 1) return true;
  }
  return false;
}

}  // namespace

// Thinking lines come with "nopost", deepen, and "." reports the running
// search; no line ever claims a move or a result.
TEST(AnalysisProcess, ThinksDeeperAndReportsItsStatus) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"xboard", "nopost", "analyze"});
  std::vector<std::string> lines = ReadAvailable(engine, 1000);
  std::vector<Thinking> thinking = ThinkingOf(lines);
  ASSERT_FALSE(thinking.empty());
  EXPECT_EQ(thinking.front().depth, 1);
  EXPECT_GE(thinking.back().depth, 4);
  for (const Thinking& t : thinking) EXPECT_TRUE(Contains(LegalMoves(START_FEN), t.firstMove)) << t.firstMove;

  Send(engine, {"."});
  std::string status = ReadUntilPrefix(engine, "stat01:", &lines, 2000);
  std::smatch m;
  ASSERT_TRUE(std::regex_match(status, m, std::regex("stat01: ([0-9]+) ([0-9]+) ([0-9]+) ([0-9]+) 20 ([a-h][1-8][a-h][1-8])")))
      << status;
  EXPECT_GE(std::stoi(m[1]), 100);  // centiseconds: more than the second waited
  EXPECT_GT(std::stoll(m[2]), 0);
  EXPECT_GE(std::stoi(m[3]), 4);
  EXPECT_LE(std::stoi(m[4]), 19);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN), m[5].str()));

  // "exit" ends the analysis: no thinking follows.
  Send(engine, {"exit", "ping 1"});
  ASSERT_TRUE(ReadUntil(engine, "pong 1", &lines, 2000));
  std::vector<std::string> after = ReadAvailable(engine, 500);
  EXPECT_TRUE(ThinkingOf(after).empty()) << after[0];
  for (const std::string& line : lines) {
    EXPECT_NE(line.substr(0, 5), "move ") << line;
    EXPECT_NE(line.substr(0, 4), "1-0 ") << line;
    EXPECT_NE(line.substr(0, 4), "0-1 ") << line;
  }
}

// A command that changes the position restarts the analysis from there.
TEST(AnalysisProcess, RestartsOnTheNewPosition) {
  const char* const fen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq -";
  struct Case {
    std::string command;
    std::vector<std::string> movesFromStart;  // the position analysed next
    const char* fen;
  };
  const std::vector<Case> cases = {
      {"usermove e2e4", {"e2e4"}, START_FEN},
      {"e7e5", {"e2e4", "e7e5"}, START_FEN},  // a move without "usermove"
      {"undo", {"e2e4"}, START_FEN},
      {"undo", {}, START_FEN},
      {"setboard " + std::string(fen), {}, fen},
      {"usermove f1b5", {"f1b5"}, fen},
      {"new", {}, START_FEN},
  };
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"xboard", "post", "analyze"});
  ReadAvailable(engine, 200);
  for (const Case& c : cases) {
    Send(engine, {c.command});
    Thinking t;
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadRestart(engine, t, &lines)) << c.command;
    EXPECT_TRUE(Contains(LegalMoves(c.fen, c.movesFromStart), t.firstMove)) << c.command << ": " << t.firstMove;
    EXPECT_FALSE(AnyStartsWith(lines, "move ")) << c.command;
    ReadAvailable(engine, 200);
  }
  // An illegal move is refused and the analysis of the position goes on.
  Send(engine, {"usermove e2e5", "ping 2"});
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadUntil(engine, "pong 2", &lines, 2000));
  EXPECT_TRUE(Contains(lines, "Illegal move: e2e5"));
}

// When the search has nothing left to find it waits, silent, for the next
// command: at the depth limit, after a forced mate, with no legal move.
TEST(AnalysisProcess, IdlesWhenTheSearchIsDone) {
  struct Case {
    std::vector<std::string> setUp;
    int lastDepth;  // 0 when nothing is searched
  };
  const std::vector<Case> cases = {
      {{"sd 3"}, 3},
      {{"setboard 6k1/5ppp/8/8/8/8/5PPP/R5K1 w - -"}, 1},             // Ra8 mates
      {{"setboard rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -"}, 0},  // mated
      {{"setboard k7/8/1Q6/8/8/8/8/7K b - -"}, 0},                     // stalemate
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"xboard", "force"});
    Send(engine, c.setUp);
    Send(engine, {"post", "analyze", "ping 1"});
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadUntil(engine, "pong 1", &lines, 2000)) << c.setUp[0];
    std::vector<std::string> more = ReadAvailable(engine, 500);
    lines.insert(lines.end(), more.begin(), more.end());
    std::vector<Thinking> thinking = ThinkingOf(lines);
    if (c.lastDepth == 0) {
      EXPECT_TRUE(thinking.empty()) << c.setUp[0];
    } else {
      ASSERT_FALSE(thinking.empty()) << c.setUp[0];
      EXPECT_EQ(thinking.back().depth, c.lastDepth) << c.setUp[0];
    }
    EXPECT_FALSE(AnyStartsWith(lines, "move ")) << c.setUp[0];
    EXPECT_FALSE(AnyStartsWith(lines, "1-0")) << c.setUp[0];
    EXPECT_FALSE(AnyStartsWith(lines, "0-1")) << c.setUp[0];
    EXPECT_FALSE(AnyStartsWith(lines, "1/2-1/2")) << c.setUp[0];
    // Idle: nothing more, yet every command is answered.
    std::vector<std::string> idle = ReadAvailable(engine, 500);
    EXPECT_TRUE(idle.empty()) << c.setUp[0] << ": " << idle[0];
    Send(engine, {"draw", "ping 2"});
    std::vector<std::string> replies;
    ASSERT_TRUE(ReadUntil(engine, "pong 2", &replies, 2000)) << c.setUp[0];
    EXPECT_TRUE(replies.empty()) << c.setUp[0] << ": " << replies[0];  // no draw accepted in analysis
    Send(engine, {"quit"});
    EXPECT_TRUE(WaitForExit(engine, 2000));
  }
}

// "hint" and "bk" answer inside the analysis.
TEST(AnalysisProcess, HintIsTheBestMoveSoFar) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"xboard", "force", "usermove e2e4", "analyze"});
  ReadAvailable(engine, 500);
  Send(engine, {"hint", "bk", "ping 1"});
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadUntil(engine, "pong 1", &lines, 2000));
  std::vector<std::string> hints;
  for (const std::string& line : lines)
    if (line.rfind("Hint: ", 0) == 0) hints.push_back(line.substr(6));
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), hints[0])) << hints[0];
  EXPECT_TRUE(Contains(lines, " no book moves for this position"));
}
