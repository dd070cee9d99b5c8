// The xboard protocol as an interface drives it: the engine runs as a child
// process in a fresh working directory and every reply is read with a
// timeout.
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "process.h"
#include "protocol_helpers.h"

TEST(ProtocolProcess, ProtoverAnnouncesFeaturesAndClosesAfterAPause) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  long long sent = NowMs();
  Send(engine, {"xboard", "protover 2"});
  const std::vector<std::string> features = {
      "# xboard mode activated", "feature done=0",     "feature colors=0",          "feature setboard=1",
      "feature usermove=1",      "feature myname=\"Quorvel 2.26\"", "feature ping=1",
      "feature analyze=1",       "feature memory=1",   "feature sigint=0",          "feature sigterm=0",
      "feature draw=1",          "feature playother=1",
      // The settings of Quorvel.rc (none here: no book, resign 0, kibitz off).
      "feature option=\"Book file -file \"", "feature option=\"Resign threshold -spin 0 0 32000\"",
      "feature option=\"Kibitz -check 0\"",
  };
  std::string line;
  for (const std::string& expected : features) {
    ASSERT_TRUE(ReadLine(engine, line));
    EXPECT_EQ(line, expected);
  }
  // The list is closed only after the pause (the reading side may lag, so
  // the pause is measured from the request).
  ASSERT_TRUE(ReadLine(engine, line));
  EXPECT_EQ(line, "feature done=1");
  EXPECT_GE(NowMs() - sent, 50);
}

// Commands with a fixed reply (or none), as GUIs send them; each case runs in
// one engine, and the closing ping proves play goes on.
TEST(ProtocolProcess, RepliesOfSimpleCommands) {
  struct Case {
    std::string input;
    std::vector<std::string> replies;
  };
  const std::vector<Case> cases = {
      {"accepted ping", {"#feature ping accepted"}},
      {"accepted usermove", {"#feature usermove accepted"}},
      {"accepted sigint", {"#feature sigint accepted"}},
      {"accepted nonsense", {"#Error: unknown feature nonsense accepted"}},
      {"rejected setboard", {"Error: feature setboard rejected"}},
      {"level 40 5 0", {"Time control: 40 moves in 5.000000 minutes."}},
      {"level 0 2 12", {"Time control: 0 moves in 2.000000 minutes.", "Increment: 12 seconds"}},
      {"level 0 0:10 0.1", {"Time control: 0 moves in 0.166667 minutes."}},
      {"level 40 1:30 0", {"Time control: 40 moves in 1.500000 minutes."}},
      {"time 750", {"Set time to 7.500000 seconds."}},
      {"otim 750", {}},
      {"result 1-0 {White mates}", {"# result received."}},
      {"kibitz", {"tellics kibitz kibitz is on"}},
      {"random", {}},
      // Quiet: settings the engine has no use for.
      {"computer", {}},
      {"name Fairy-Max", {}},
      {"rating 2100 1800", {}},
      {"ics -", {}},
      {"pause", {}},
      {"resume", {}},
      {"cores 2", {"Error (unknown command): cores"}},
      {"st 5", {"Time control: 5 seconds per move."}},
      {"st 0.5", {"Time control: 0.5 seconds per move."}},
      {"st 0", {"Error (seconds per move must be above 0): st 0"}},
      {"st fast", {"Error (seconds per move must be above 0): st fast"}},
      // Nothing to take back at the start.
      {"undo", {"Error (nothing to take back): undo"}},
      {"remove", {"Error (nothing to take back): remove"}},
      // Outside analysis "." has nothing to report, and a move needs "usermove".
      {".", {}},
      {"e2e4", {"Error (unknown command): e2e4"}},
  };
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  int n = 0;
  for (const Case& c : cases) {
    std::string pong = "pong " + std::to_string(++n);
    Send(engine, {c.input, "ping " + std::to_string(n)});
    std::vector<std::string> replies;
    ASSERT_TRUE(ReadUntil(engine, pong, &replies, 5000)) << c.input;
    EXPECT_EQ(replies, c.replies) << c.input;
  }
}

// After the GUI's usual set-up lines (including the odd time control and a
// bare move that is refused) the engine still plays a legal reply.
TEST(ProtocolProcess, NewGameAnswersTheUserMoveWithALegalMove) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"xboard", "protover 2", "new", "random", "level 0 0:10 0.1", "computer", "e2e4", "post", "sd 3",
                "time 1000", "otim 1000", "usermove e2e4"});
  std::vector<std::string> skipped;
  std::string reply = ReadEngineMove(engine, &skipped);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), reply)) << reply;
  EXPECT_TRUE(Contains(skipped, "Error (unknown command): e2e4"));

  // The engine's move stands on its board: a second White move continues
  // the game from there.
  std::vector<std::string> whiteMoves = LegalMoves(START_FEN, {"e2e4", reply});
  ASSERT_FALSE(whiteMoves.empty());
  Send(engine, {"usermove " + whiteMoves[0]});
  std::string second = ReadEngineMove(engine);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4", reply, whiteMoves[0]}), second)) << second;
}

TEST(ProtocolProcess, GoPlaysTheSideToMoveOfASetPosition) {
  const char* fen = "r1bqkbnr/pppp1ppp/2n5/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq -";
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"new", "force", std::string("setboard ") + fen, "sd 3", "go"});
  std::string reply = ReadEngineMove(engine);
  EXPECT_TRUE(Contains(LegalMoves(fen), reply)) << reply;
}

TEST(ProtocolProcess, RefusedUserMovesLeaveTheBoard) {
  struct Case {
    std::string input;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"usermove e2e5", "Illegal move: e2e5"},   // not a legal move
      {"usermove e7e5", "Illegal move: e7e5"},   // the other side's move
      {"usermove z9z9", "Illegal move: z9z9"},   // no squares
      {"usermove e2", "Illegal move: e2"},       // too short
      {"usermove", "Illegal move: "},            // no move at all
  };
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"force"});
  for (const Case& c : cases) {
    Send(engine, {c.input, "ping 1"});
    std::vector<std::string> lines;
    ASSERT_TRUE(ReadUntil(engine, "pong 1", &lines, 5000)) << c.input;
    ASSERT_FALSE(lines.empty()) << c.input;
    EXPECT_EQ(lines[0], c.error);
    // The board display twice around the list of the 20 legal moves, all
    // as comments for the interface.
    EXPECT_TRUE(AnyStartsWith(lines, "# FEN: " + std::string(START_FEN).substr(0, 43))) << c.input;
    EXPECT_EQ(lines.size(), 1u + 2 * 10 + 20) << c.input;
    for (size_t i = 1; i < lines.size(); i++) EXPECT_EQ(lines[i][0], '#') << c.input << ": " << lines[i];
  }
  // The start position is still there: e2e4 is legal.
  Send(engine, {"usermove e2e4", "ping 2"});
  std::vector<std::string> lines;
  ASSERT_TRUE(ReadUntil(engine, "pong 2", &lines, 5000));
  EXPECT_TRUE(lines.empty());
}

TEST(ProtocolProcess, PingIsAnsweredAtOnceWhenIdleAndAfterTheMoveWhenThinking) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"ping 7"});
  std::string line;
  ASSERT_TRUE(ReadLine(engine, line, 1000));
  EXPECT_EQ(line, "pong 7");

  // About a second of thinking; the ping arrives with the move to answer.
  Send(engine, {"new", "level 40 5 0", "time 6000", "otim 6000", "usermove e2e4", "ping 8"});
  std::vector<std::string> skipped;
  std::string reply = ReadEngineMove(engine, &skipped);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), reply)) << reply;
  EXPECT_FALSE(Contains(skipped, "pong 8"));
  ASSERT_TRUE(ReadLine(engine, line));
  EXPECT_EQ(line, "pong 8");
}

// Long thinking (20 minutes on the clock) interrupted by the interface.
TEST(ProtocolProcess, MoveNowForceAndQuitDuringTheEnginesSearch) {
  struct Case {
    const char* command;
    bool moves;  // the engine plays its best move so far
    bool exits;
  };
  const Case cases[] = {{"?", true, false}, {"force", false, false}, {"quit", false, true}};
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"new", "level 40 20 0", "time 120000", "otim 120000", "usermove e2e4"});
    // Let the search get going (its first thinking lines).
    std::vector<std::string> lines = ReadAvailable(engine, 300);
    EXPECT_FALSE(AnyStartsWith(lines, "move ")) << c.command;
    long long sent = NowMs();
    Send(engine, {c.command});
    // The search reads the command at its next poll, which can be over a
    // second away in the sanitizer build.
    if (c.exits) {
      EXPECT_TRUE(WaitForExit(engine, 3000)) << c.command;
      EXPECT_EQ(engine.exitStatus, 0);
      continue;
    }
    Send(engine, {"ping 1"});
    std::vector<std::string> after;
    ASSERT_TRUE(ReadUntil(engine, "pong 1", &after, 3000)) << c.command;
    EXPECT_LT(NowMs() - sent, 3000) << c.command;
    bool moved = AnyStartsWith(after, "move ");
    EXPECT_EQ(moved, c.moves) << c.command;
    EXPECT_TRUE(Contains(after, "# Endsearch=3")) << c.command;
  }
}

TEST(ProtocolProcess, BookMoveFromACrLfBookAndNoneAfterSetboard) {
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"), "book small.book\r\nhash 1\r\n");
  // Equal-length lines, sorted by their moves; after 1. e2e4 only e7e5 follows.
  WriteTextFile(dir.File("small.book"),
                "     12d2d4d7d5c2c4e7e6\r\n"
                "      5e2e4e7e5g1f3b8c6\r\n"
                "     -3e2e4e7e5b1c3g8f6\r\n"
                "      0g1f3d7d5d2d4g8f6\r\n");
  EngineProcess engine;
  std::vector<std::string> startUp;
  Start(engine, dir, &startUp);
  EXPECT_TRUE(Contains(startUp, "#book small.book has 4 lines.")) << startUp.size();

  Send(engine, {"new", "sd 2", "usermove e2e4"});
  std::vector<std::string> skipped;
  EXPECT_EQ(ReadEngineMove(engine, &skipped), "e7e5");
  EXPECT_TRUE(std::regex_match(skipped.size() > 0 ? skipped[0] : "",
                               std::regex("matches on lines 1 to 2\\. chose [12]")));

  // A game set up from a position never asks the book, even the start
  // position with the book's own first moves.
  Send(engine, {"new", "sd 2", std::string("setboard ") + START_FEN, "usermove e2e4"});
  skipped.clear();
  std::string reply = ReadEngineMove(engine, &skipped);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), reply)) << reply;
  EXPECT_FALSE(AnyStartsWith(skipped, "matches on lines"));
  EXPECT_FALSE(AnyStartsWith(skipped, "Book line:"));
}

TEST(ProtocolProcess, GameEndIsAdjudicatedAndTheEngineStops) {
  struct Case {
    const char* fen;
    const char* result;
    bool engineMoves;  // the engine's own move ends the game
  };
  const Case cases[] = {
      {"6k1/5ppp/8/8/8/8/5PPP/R5K1 w - -", "1-0 {white wins}", true},                  // Ra8 mates
      {"rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq -", "0-1 {black wins}", false},
      {"k7/8/1Q6/8/8/8/8/7K b - -", "1/2-1/2 {stalemate}", false},
      {"8/8/8/4k3/8/8/8/4K2N w - -", "1/2-1/2 {drawn - insufficient material}", false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"force", std::string("setboard ") + c.fen, "sd 3", "go"});
    std::vector<std::string> skipped;
    ASSERT_TRUE(ReadUntil(engine, c.result, &skipped)) << c.fen;
    EXPECT_EQ(AnyStartsWith(skipped, "move "), c.engineMoves) << c.fen;
    if (c.engineMoves) {
      EXPECT_TRUE(Contains(skipped, "move a1a8"));
    }
    std::string line;
    ASSERT_TRUE(ReadLine(engine, line));
    EXPECT_EQ(line, "Entering forcemode.");
    // Printed once; afterwards the engine only answers commands.
    Send(engine, {"ping 1"});
    std::vector<std::string> after;
    ASSERT_TRUE(ReadUntil(engine, "pong 1", &after, 2000));
    EXPECT_TRUE(after.empty()) << c.fen << ": " << after[0];
  }
}

// With pondering on, the engine ponders after its move ("# " thinking
// lines); the opponent's move or a clock update ends the ponder search.
TEST(ProtocolProcess, PonderingStopsOnUserMoveTimeAndOtim) {
  const std::string stoppers[] = {"usermove", "time 12000", "otim 12000"};
  for (const std::string& stopper : stoppers) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"hard", "new", "level 40 5 0", "time 3000", "otim 3000", "usermove e2e4"});
    std::string reply = ReadEngineMove(engine);
    ASSERT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), reply)) << reply;
    std::vector<std::string> skipped;
    std::string ponderLine;
    long long deadline = NowMs() + 5000;
    while (ponderLine.empty() && NowMs() < deadline) {
      std::string line;
      if (!ReadLine(engine, line, 1000)) continue;
      if (std::regex_match(line, PONDER_THINKING_LINE)) ponderLine = line;
    }
    ASSERT_FALSE(ponderLine.empty()) << "no ponder output";
    // A ping while pondering is answered at once.
    Send(engine, {"ping 3"});
    ASSERT_TRUE(ReadUntil(engine, "pong 3", nullptr, 1000));

    std::vector<std::string> whiteMoves = LegalMoves(START_FEN, {"e2e4", reply});
    ASSERT_FALSE(whiteMoves.empty());
    long long sent = NowMs();
    Send(engine, {stopper == "usermove" ? "usermove " + whiteMoves[0] : stopper});
    ASSERT_TRUE(ReadUntil(engine, "# Endsearch=3", nullptr, 1000)) << stopper;
    EXPECT_LT(NowMs() - sent, 1000) << stopper;
    if (stopper == "usermove") {
      // The real move is answered by an ordinary search.
      std::string second = ReadEngineMove(engine);
      EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4", reply, whiteMoves[0]}), second)) << second;
    } else {
      // The ponder search is not repeated before the engine moves again.
      Send(engine, {"ping 4"});
      std::vector<std::string> after;
      ASSERT_TRUE(ReadUntil(engine, "pong 4", &after, 1000));
      EXPECT_FALSE(AnyStartsWith(after, "#  ")) << stopper;
    }
    SendLine(engine, "quit");
    EXPECT_TRUE(WaitForExit(engine, 2000));
  }
}
