// Play must go on from every state a game can leave behind: a ponder search
// that was due when the game ended, and a set-up position that is not a
// chess position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process.h"
#include "protocol_helpers.h"

// A ponder search falls due with every move of the engine, and it stays due
// when the game ends with that move or "force" stops the engine's search;
// the next game's "go", sent together with "new", must still be obeyed.
TEST(PlayFaultsProcess, GoAfterAGameEndedWithAPonderSearchDue) {
  struct Case {
    std::vector<std::string> game;
    std::string interrupt;  // sent once the search runs; empty for none
    std::string end;        // the line that shows the game is over
  };
  const std::vector<Case> cases = {
      {{"force", "setboard 7k/8/6K1/8/8/8/8/R7 w - -", "go"}, "", "Entering forcemode."},  // Ra8 mates
      {{"new", "time 6000", "otim 6000", "usermove e2e4"}, "force", "# Endsearch=3"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    // A minute for 40 moves: about a second for a move, ten for a ponder search.
    Send(engine, {"hard", "level 40 1 0"});
    Send(engine, c.game);
    if (!c.interrupt.empty()) {
      ReadAvailable(engine, 300);
      Send(engine, {c.interrupt});
    }
    ASSERT_TRUE(ReadUntil(engine, c.end, nullptr, 10000)) << c.game[1];
    ASSERT_TRUE(SendText(engine, "new\ngo\n"));
    std::vector<std::string> lines;
    std::string reply = ReadEngineMove(engine, &lines, 10000);
    EXPECT_TRUE(Contains(LegalMoves(START_FEN), reply)) << c.game[1] << ": " << reply;
    EXPECT_FALSE(AnyStartsWith(lines, "Error(go)")) << c.game[1];
  }
}

// "go" during a ponder search stops it and then makes the engine move.
TEST(PlayFaultsProcess, GoDuringAPonderSearchIsObeyed) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"hard", "new", "level 40 5 0", "sd 4", "usermove e2e4"});
  std::string reply = ReadEngineMove(engine);
  ASSERT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), reply)) << reply;
  ASSERT_TRUE(ReadUntilPrefix(engine, "# ", nullptr, 5000).size() > 0);
  std::vector<std::string> white = LegalMoves(START_FEN, {"e2e4", reply});
  // The GUI plays White's move in force mode and asks the engine to go on.
  Send(engine, {"force", "usermove " + white[0], "go"});
  std::vector<std::string> lines;
  std::string second = ReadEngineMove(engine, &lines);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4", reply, white[0]}), second)) << second;
  EXPECT_FALSE(AnyStartsWith(lines, "Error(go)"));
}

// A position in which the side to move could capture the king, or with a
// missing or second king, is refused; nothing is searched on it and no
// "move" line ever comes, until "new" or a legal "setboard".
TEST(PlayFaultsProcess, IllegalSetUpPositionsAreRefusedUntilAGoodOne) {
  struct Case {
    const char* fen;
    const char* mend;  // the command that gives the engine a legal game again
  };
  const Case cases[] = {
      {"7k/8/6K1/8/8/8/8/7R w - -", "new"},                         // Black in check, White to move
      {"7k/8/8/8/8/8/8/7R w - -", "setboard 7k/8/6K1/8/8/8/8/R7 w - -"},  // no white king
      {"6kk/8/6K1/8/8/8/8/R7 w - -", "new"},                        // two black kings
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"sd 3", "force", std::string("setboard ") + c.fen, "ping 1"});
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadUntil(engine, "pong 1", &lines, 5000)) << c.fen;
    EXPECT_TRUE(Contains(lines, "tellusererror Illegal position")) << c.fen;

    Send(engine, {"go", "usermove h1h7", "ping 2"});
    lines.clear();
    ASSERT_TRUE(ReadUntil(engine, "pong 2", &lines, 5000)) << c.fen;
    EXPECT_FALSE(AnyStartsWith(lines, "move ")) << c.fen;
    EXPECT_TRUE(Contains(lines, "Error (illegal position): go")) << c.fen;
    EXPECT_TRUE(Contains(lines, "Error (illegal position): usermove")) << c.fen;

    // Still reading input, and a legal game plays again.
    Send(engine, {c.mend, "go"});
    EXPECT_FALSE(ReadEngineMove(engine, nullptr, 10000).empty()) << c.fen;
    Send(engine, {"quit"});
    EXPECT_TRUE(WaitForExit(engine, 2000)) << c.fen;
  }
}
