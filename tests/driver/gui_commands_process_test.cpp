// The commands behind xboard's menus: take-back, fixed time per move, the
// game's end, hints, the book display, draw offers and the engine settings.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "board/fen.h"
#include "board/movegen.h"
#include "capture.h"
#include "moves/makemove.h"
#include "moves/movetext.h"
#include "process.h"
#include "protocol_helpers.h"

namespace {

// The replies to lines, up to a closing ping.
std::vector<std::string> Replies(EngineProcess& engine, const std::vector<std::string>& lines, int timeoutMs = 5000) {
  static int n = 0;
  std::string pong = "pong " + std::to_string(++n);
  Send(engine, lines);
  Send(engine, {"ping " + std::to_string(n)});
  std::vector<std::string> replies;
  EXPECT_TRUE(ReadUntil(engine, pong, &replies, timeoutMs)) << lines.back();
  return replies;
}

// The game as the engine holds it: the board display (FEN, pieces, castling
// and en passant state, hash key) and the game history.
std::vector<std::string> GameState(EngineProcess& engine) { return Replies(engine, {"d", "history"}); }

// Half-moves from fen with no capture, no pawn move and no position twice,
// found by trying the legal moves in order.
std::vector<std::string> QuietWalk(const char* fen, int count) {
  Board board;
  CaptureOutput([&] { ReadFen(fen, board); });
  std::set<std::string> seen;
  std::vector<std::string> walk;
  char text[FEN_SIZE];
  WriteFen(board, text);
  seen.insert(text);
  while ((int)walk.size() < count) {
    Move list[MOVE_LIST_SIZE];
    GenerateMoves(board, list);
    bool moved = false;
    for (int i = 0; list[i] && !moved; i++) {
      if (MoveCaptured(list[i]) || (MovePiece(list[i]) & 15) == PAWN) continue;
      Board next = board;
      Move m = list[i];
      MakeMove(m, next);
      Move replies[MOVE_LIST_SIZE];
      if (GenerateMoves(next, replies) == 0) continue;
      WriteFen(next, text);
      if (!seen.insert(text).second) continue;
      MoveToText(list[i], text);
      walk.push_back(text);
      board = next;
      moved = true;
    }
    if (!moved) break;
  }
  return walk;
}

std::vector<std::string> UserMoves(const std::vector<std::string>& moves) {
  std::vector<std::string> lines;
  for (const std::string& m : moves) lines.push_back("usermove " + m);
  return lines;
}

}  // namespace

// "remove" and "undo" bring back the game as it was before the moves: board,
// castling rights, en passant, hash key and history.
TEST(GuiCommandsProcess, TakeBackRestoresTheGame) {
  struct Case {
    const char* fen;  // nullptr: the start position
    std::vector<std::string> before;
    std::vector<std::string> taken;
    std::vector<std::string> commands;
  };
  const std::vector<Case> cases = {
      {nullptr, {}, {"e2e4", "e7e5"}, {"remove"}},
      {nullptr, {"e2e4", "e7e5"}, {"g1f3"}, {"undo"}},
      {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", {}, {"e1g1", "e8c8"}, {"remove"}},   // castling both ways
      {"4k3/8/8/8/3p4/8/4P3/4K3 w - -", {"e2e4"}, {"d4e3"}, {"undo"}},            // en passant
      {"1n2k3/P7/8/8/8/8/8/4K3 w - -", {}, {"a7b8q", "e8d7", "b8c7"}, {"undo", "remove"}},  // promotion
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"force"});
    if (c.fen) Replies(engine, {std::string("setboard ") + c.fen});
    Send(engine, UserMoves(c.before));
    std::vector<std::string> before = GameState(engine);
    std::vector<std::string> replies = Replies(engine, UserMoves(c.taken));
    ASSERT_TRUE(replies.empty()) << replies[0];
    replies = Replies(engine, c.commands);
    EXPECT_TRUE(replies.empty()) << replies[0];
    EXPECT_EQ(GameState(engine), before) << c.taken[0];
    // Taking back more half-moves than were played changes nothing.
    if (c.before.size() < 2) {
      std::vector<std::string> error = Replies(engine, {"remove"});
      EXPECT_EQ(error, std::vector<std::string>{"Error (nothing to take back): remove"});
      EXPECT_EQ(GameState(engine), before);
    }
  }
}

// After a take-back, repetitions and the fifty-move count are judged from
// the game as it then stands.
TEST(GuiCommandsProcess, DrawRulesCountRightAfterTakeBack) {
  const std::vector<std::string> shuffle = {"g1f3", "g8f6", "f3g1", "f6g8"};
  std::vector<std::string> threeTimes;
  for (int i = 0; i < 3; i++) threeTimes.insert(threeTimes.end(), shuffle.begin(), shuffle.end());
  const char* const quietFen = "4k3/8/4r3/8/8/8/P7/R3K3 w - -";
  const std::vector<std::string> walk = QuietWalk(quietFen, 104);
  ASSERT_EQ(walk.size(), 104u);
  std::vector<std::string> walked100(walk.begin(), walk.begin() + 100);
  std::vector<std::string> walkRest(walk.begin() + 100, walk.end());
  std::string pawnMove;
  for (const std::string& m : LegalMoves(quietFen, walked100))
    if (m.rfind("a2", 0) == 0) pawnMove = m;
  ASSERT_NE(pawnMove, "");

  struct Case {
    const char* name;
    const char* fen;
    std::vector<std::string> played;
    std::vector<std::string> takenBack;  // played, then taken back with "undo"s
    std::vector<std::string> then;
    const char* claim;  // nullptr: the engine plays on
  };
  const std::vector<Case> cases = {
      {"a fourth time after a detour", nullptr, threeTimes, {"b1c3", "b8c6"}, shuffle,
       "1/2-1/2 {drawn by repetition}"},
      {"a third time only", nullptr, threeTimes, {"g1f3", "g8f6"}, {}, nullptr},
      {"fifty moves once the pawn move is undone", quietFen, walked100, {pawnMove}, walkRest,
       "1/2-1/2 {drawn by 50 move rule}"},
      {"the pawn move stands", quietFen, walked100, {}, {pawnMove}, nullptr},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"force", "sd 2"});
    if (c.fen) Send(engine, {std::string("setboard ") + c.fen});
    Send(engine, UserMoves(c.played));
    Send(engine, UserMoves(c.takenBack));
    for (size_t i = 0; i < c.takenBack.size(); i++) Send(engine, {"undo"});
    Send(engine, UserMoves(c.then));
    Send(engine, {"go"});
    // The engine either claims the draw (and enters force mode) or moves.
    std::vector<std::string> lines;
    std::string line;
    while (ReadLine(engine, line, 5000) && line != "Entering forcemode." && line.rfind("move ", 0) != 0)
      lines.push_back(line);
    if (c.claim) {
      EXPECT_TRUE(Contains(lines, c.claim)) << c.name;
      EXPECT_EQ(line, "Entering forcemode.") << c.name;
    } else {
      EXPECT_EQ(line.rfind("move ", 0), 0u) << c.name << ": " << line;
    }
  }
}

// "st": the engine's moves come within the seconds per move; "st" and
// "level" replace each other.
TEST(GuiCommandsProcess, SecondsPerMoveBoundTheEnginesMoves) {
  struct Case {
    std::vector<std::string> timeControl;
    long long atMostMs;
  };
  const std::vector<Case> cases = {
      {{"level 40 60 0", "time 360000", "st 0.5"}, 500},  // an hour on the clock
      {{"st 30", "level 40 0:08 0", "time 800"}, 2000},   // eight seconds for 40 moves
  };
  // Leeway for a loaded machine between the engine's clock and this test's.
  const long long leewayMs = 150;
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, {"new", "hard"});
    Send(engine, c.timeControl);
    std::vector<std::string> moves = {"e2e4"};
    for (int n = 0; n < 3; n++) {
      long long sent = NowMs();
      Send(engine, {"usermove " + moves.back()});
      std::string reply = ReadEngineMove(engine, nullptr, 10000);
      long long took = NowMs() - sent;
      ASSERT_TRUE(Contains(LegalMoves(START_FEN, moves), reply)) << reply;
      EXPECT_LE(took, c.atMostMs + leewayMs) << c.timeControl.back() << " move " << n;
      moves.push_back(reply);
      std::vector<std::string> white = LegalMoves(START_FEN, moves);
      moves.push_back(white[0]);
    }
  }
}

// "result" ends the engine's search or ponder search without a move, and
// it plays no more until "new".
TEST(GuiCommandsProcess, ResultStopsTheSearchWithoutAMove) {
  struct Case {
    std::vector<std::string> game;
    bool ponders;  // the result comes while the engine ponders
  };
  const std::vector<Case> cases = {
      {{"new", "level 40 20 0", "time 120000", "otim 120000", "usermove e2e4"}, false},
      {{"hard", "new", "sd 3", "usermove e2e4"}, true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    Send(engine, c.game);
    std::vector<std::string> lines;
    if (c.ponders) ReadEngineMove(engine);
    // Well inside the search (or the ponder search, whose depth "sd" does not
    // cut short when it is long).
    ReadAvailable(engine, 300);
    lines = Replies(engine, {"result 0-1 {White resigns}"});
    EXPECT_TRUE(Contains(lines, "# result received."));
    lines = Replies(engine, {"usermove d2d4"});
    std::vector<std::string> more = ReadAvailable(engine, 500);
    lines.insert(lines.end(), more.begin(), more.end());
    EXPECT_FALSE(AnyStartsWith(lines, "move ")) << c.ponders;
    // A new game plays again.
    Send(engine, {"new", "sd 2", "usermove e2e4"});
    EXPECT_NE(ReadEngineMove(engine), "");
  }
}

TEST(GuiCommandsProcess, HintIsTheExpectedReply) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  // Nothing searched yet: no hint.
  EXPECT_TRUE(Replies(engine, {"hint"}).empty());
  Send(engine, {"new", "sd 4", "usermove e2e4"});
  std::string reply = ReadEngineMove(engine);
  std::vector<std::string> lines = Replies(engine, {"hint"});
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0].rfind("Hint: ", 0), 0u) << lines[0];
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4", reply}), lines[0].substr(6))) << lines[0];
  // Another position than the one the hint was for: none.
  EXPECT_TRUE(Replies(engine, {"force", "undo", "hint"}).empty());
}

// "bk" lists the book's moves for the game position, weighted by the lines
// that play them, and follows take-back; a set-up position has none in a
// text book.
TEST(GuiCommandsProcess, BookMovesOfThePosition) {
  TempDir dir;
  WriteTextFile(dir.File("Quorvel.rc"), "book small.book\nhash 1\n");
  WriteTextFile(dir.File("small.book"),
                "     12d2d4d7d5c2c4e7e6\n"
                "      0e2e4c7c5g1f3d7d6\n"
                "      5e2e4e7e5g1f3b8c6\n"
                "     -3e2e4e7e5b1c3g8f6\n"
                "      0g1f3d7d5d2d4g8f6\n");
  EngineProcess engine;
  Start(engine, dir);
  const std::vector<std::string> none = {" no book moves for this position", ""};
  struct Case {
    std::vector<std::string> commands;
    std::vector<std::string> listed;
  };
  const std::vector<Case> cases = {
      {{"new", "force"}, {" e2e4 3 60%", " d2d4 1 20%", " g1f3 1 20%", ""}},
      {{"usermove e2e4"}, {" e7e5 2 67%", " c7c5 1 33%", ""}},
      {{"usermove e7e5"}, {" g1f3 1 50%", " b1c3 1 50%", ""}},
      {{"usermove a2a3"}, none},
      {{"undo", "remove"}, {" e2e4 3 60%", " d2d4 1 20%", " g1f3 1 20%", ""}},  // the book is back
      {{std::string("setboard ") + START_FEN}, none},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = Replies(engine, c.commands);
    EXPECT_TRUE(lines.empty() || c.commands[0].rfind("setboard", 0) == 0) << c.commands[0];
    EXPECT_EQ(Replies(engine, {"bk"}), c.listed) << c.commands[0];
  }
}

// A draw offer is accepted only when the engine's last score in the game was
// clearly against it; otherwise it plays on and says nothing.
TEST(GuiCommandsProcess, DrawOffersByTheEnginesScore) {
  struct Case {
    const char* fen;
    bool accepts;
  };
  const Case cases[] = {
      {"k7/8/8/8/8/8/qq6/7K w - -", true},  // two queens down
      {START_FEN, false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    EngineProcess engine;
    Start(engine, dir);
    // Before the engine has searched anything in this game: no acceptance.
    Send(engine, {"new", "force", std::string("setboard ") + c.fen});
    EXPECT_FALSE(Contains(Replies(engine, {"draw"}), "offer draw"));
    Send(engine, {"sd 3", "go"});
    ASSERT_NE(ReadEngineMove(engine), "") << c.fen;
    std::vector<std::string> lines = Replies(engine, {"draw"});
    EXPECT_EQ(Contains(lines, "offer draw"), c.accepts) << c.fen;
  }
}

// "memory" and "option" apply settings as Quorvel.rc does, with its messages.
TEST(GuiCommandsProcess, MemoryAndOptionsApplyTheSettings) {
  TempDir dir;
  WriteTextFile(dir.File("small.book"), "      5e2e4e7e5g1f3b8c6\n");
  EngineProcess engine;
  Start(engine, dir);
  struct Case {
    std::string command;
    std::vector<std::string> replies;
  };
  const std::vector<Case> cases = {
      {"memory 16", {}},
      {"status", {}},  // checked below for the table size
      {"memory 0", {"Error (hash size must be 1 to 4294 MB): 0"}},
      {"memory lots", {"Error (hash size must be 1 to 4294 MB): lots"}},
      {"option Resign threshold=300", {"# Resign Threshold set to 300"}},
      {"option Resign threshold=-5", {"# Resign Threshold set to -5", "Invalid resign threshold.  Default 1000 set."}},
      {"option Kibitz=1", {"tellics kibitz kibitz is on."}},
      {"option Kibitz=0", {}},
      {"option Book file=small.book", {"#book small.book has 1 lines."}},
      {"option Book file=missing.book", {"Cannot open book2 file missing.book."}},
      {"option Hash=5", {"Error (unknown option): Hash"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> replies = Replies(engine, {c.command});
    if (c.command == "status") {
      EXPECT_TRUE(Contains(replies, "Hash table: 666666 entries, 0.000000 filled = 0.000000 pct filled."));
      continue;
    }
    EXPECT_EQ(replies, c.replies) << c.command;
  }
  // The resized table serves a search.
  Send(engine, {"new", "sd 4", "usermove e2e4"});
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), ReadEngineMove(engine)));
}

// "playother" hands the engine the side not on move and, with "hard", it
// ponders at once; the opponent's move then gets its reply.
TEST(GuiCommandsProcess, PlayotherTakesTheOtherSide) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  Send(engine, {"new", "force", "usermove e2e4", "hard", "sd 3", "playother"});
  ASSERT_NE(ReadUntilPrefix(engine, "#  1 ", nullptr, 5000), "");
  Send(engine, {"usermove e7e5"});
  std::string reply = ReadEngineMove(engine, nullptr, 5000);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4", "e7e5"}), reply)) << reply;
}

// "pause" holds the engine's search, silent, and "resume" lets it go on.
TEST(GuiCommandsProcess, PauseHoldsTheSearchUntilResume) {
  TempDir dir;
  EngineProcess engine;
  Start(engine, dir);
  // Ten seconds for the move: the search looks at the input about every
  // fifth of a second.
  Send(engine, {"new", "st 10", "usermove e2e4"});
  ReadAvailable(engine, 300);
  Send(engine, {"pause"});
  ReadAvailable(engine, 500);  // what was on its way
  std::vector<std::string> held = ReadAvailable(engine, 1000);
  EXPECT_TRUE(held.empty()) << held[0];
  Send(engine, {"resume", "?"});
  std::string reply = ReadEngineMove(engine, nullptr, 2000);
  EXPECT_TRUE(Contains(LegalMoves(START_FEN, {"e2e4"}), reply)) << reply;
}
