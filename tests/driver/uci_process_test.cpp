// The UCI protocol as a GUI or match runner drives it: the engine runs as a
// child process in a fresh working directory, switched to UCI by "uci", and
// every line it writes from then on must be a UCI line.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "process.h"
#include "protocol_helpers.h"

namespace {

const std::regex UCI_LINE(
    "id (name|author) .+|option name .+ type .+|uciok|readyok|info .+|bestmove [a-h1-8qrbn0]{4,5}( ponder "
    "[a-h1-8qrbn]{4,5})?");
const std::regex NODES_FIELD(".* nodes ([0-9]+) .*");
const std::regex DEPTH_FIELD("info depth ([0-9]+) .*");
const std::regex SCORE_FIELD(".* score (cp -?[0-9]+|mate -?[0-9]+) .*");

bool StartsWith(const std::string& line, const std::string& prefix) { return line.compare(0, prefix.size(), prefix) == 0; }

// Reads lines until one starts with prefix and returns it (empty on timeout);
// the lines before it go to skipped. Every line must be a UCI line.
std::string ReadUciUntil(EngineProcess& engine, const std::string& prefix, std::vector<std::string>* skipped = nullptr,
                         int timeoutMs = 10000) {
  long long deadline = NowMs() + timeoutMs;
  std::string line;
  for (;;) {
    long long left = deadline - NowMs();
    if (left <= 0 || !ReadLine(engine, line, (int)left)) return "";
    EXPECT_TRUE(std::regex_match(line, UCI_LINE)) << "not a UCI line: " << line;
    if (StartsWith(line, prefix)) return line;
    if (skipped != nullptr) skipped->push_back(line);
  }
}

// Starts the engine in UCI mode; the handshake's lines from "id name" to
// "uciok" go to handshake.
void StartUci(EngineProcess& engine, const TempDir& dir, std::vector<std::string>* handshake = nullptr) {
  ASSERT_TRUE(StartEngine(engine, dir.path));
  ASSERT_TRUE(SendLine(engine, "uci"));
  std::string line;
  do {
    ASSERT_TRUE(ReadLine(engine, line)) << "no id line";
  } while (!StartsWith(line, "id name "));
  if (handshake != nullptr) handshake->push_back(line);
  for (;;) {
    line = ReadUciUntil(engine, "", nullptr);
    ASSERT_FALSE(line.empty()) << "no uciok";
    if (handshake != nullptr) handshake->push_back(line);
    if (line == "uciok") return;
  }
}

// The lines before the readyok that answers an isready sent now.
std::vector<std::string> RepliesBeforeReady(EngineProcess& engine) {
  std::vector<std::string> replies;
  EXPECT_TRUE(SendLine(engine, "isready"));
  EXPECT_EQ(ReadUciUntil(engine, "readyok", &replies), "readyok");
  return replies;
}

struct GoResult {
  std::string bestmove;  // the move of the "bestmove" line, empty on timeout
  std::string ponder;    // its ponder move, if any
  std::vector<std::string> lines;  // the lines before it
  long long ms = 0;                // from sending "go" to the answer
};

GoResult ReadBestMove(EngineProcess& engine, long long sentMs, int timeoutMs = 20000) {
  GoResult result;
  std::string line = ReadUciUntil(engine, "bestmove ", &result.lines, timeoutMs);
  result.ms = NowMs() - sentMs;
  if (line.empty()) return result;
  std::smatch match;
  std::regex form("bestmove (\\S+)(?: ponder (\\S+))?");
  if (std::regex_match(line, match, form)) {
    result.bestmove = match[1];
    result.ponder = match[2];
  }
  return result;
}

GoResult Go(EngineProcess& engine, const std::string& position, const std::string& go, int timeoutMs = 20000) {
  EXPECT_TRUE(SendLine(engine, position));
  long long sent = NowMs();
  EXPECT_TRUE(SendLine(engine, go));
  return ReadBestMove(engine, sent, timeoutMs);
}

// The info lines with a score (not currmove or info string lines).
std::vector<std::string> ScoreLines(const GoResult& result) {
  std::vector<std::string> lines;
  for (const std::string& line : result.lines)
    if (std::regex_match(line, SCORE_FIELD)) lines.push_back(line);
  return lines;
}

std::string Field(const std::string& line, const std::regex& form) {
  std::smatch match;
  return std::regex_match(line, match, form) ? std::string(match[1]) : "";
}

// No line at all within waitMs (the engine holds its answer).
void ExpectSilence(EngineProcess& engine, int waitMs) {
  for (const std::string& line : ReadAvailable(engine, waitMs)) EXPECT_TRUE(StartsWith(line, "info ")) << line;
}

}  // namespace

TEST(UciProcess, HandshakeNamesTheEngineAndItsOptions) {
  TempDir dir;
  EngineProcess engine;
  std::vector<std::string> handshake;
  StartUci(engine, dir, &handshake);
  const std::vector<std::string> expected = {
      "id name Quorvel 2.26",
      "id author the Quorvel developers",
      "option name Hash type spin default 64 min 1 max 4294",
      "option name Ponder type check default false",
      "option name OwnBook type check default true",
      "option name BookFile type string default <empty>",
      "option name Clear Hash type button",
      "option name Move Overhead type spin default 100 min 0 max 5000",
      "uciok",
  };
  EXPECT_EQ(handshake, expected);
  EXPECT_EQ(RepliesBeforeReady(engine), std::vector<std::string>{});
}

TEST(UciProcess, OptionsApplyAndBadValuesAreRefused) {
  struct Case {
    std::string input;
    std::vector<std::string> replies;
  };
  const std::vector<Case> cases = {
      {"setoption name Hash value 2", {}},
      {"setoption name hash value 3", {}},  // names are case-blind
      {"setoption name Hash value 0", {"info string Hash: 0 is outside 1 to 4294; unchanged"}},
      {"setoption name Hash value 4295", {"info string Hash: 4295 is outside 1 to 4294; unchanged"}},
      {"setoption name Hash value 12abc", {"info string Hash: \"12abc\" is not a number; unchanged"}},
      {"setoption name Hash", {"info string Hash: \"\" is not a number; unchanged"}},
      {"setoption name Ponder value true", {}},
      {"setoption name OwnBook value maybe", {"info string OwnBook: \"maybe\" is not true or false; unchanged"}},
      {"setoption name Move Overhead value 100", {}},
      {"setoption name Move Overhead value -1", {"info string Move Overhead: -1 is outside 0 to 5000; unchanged"}},
      {"setoption name Clear Hash", {}},
      {"setoption name Contempt value 20", {"info string unknown option \"Contempt\""}},
      {"setoption Hash 16", {"info string setoption needs: name NAME [value VALUE]"}},
  };
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  for (const Case& c : cases) {
    ASSERT_TRUE(SendLine(engine, c.input));
    EXPECT_EQ(RepliesBeforeReady(engine), c.replies) << c.input;
  }
  // The table has the size of the last good value.
  std::vector<std::string> handshake;
  ASSERT_TRUE(SendLine(engine, "uci"));
  ASSERT_EQ(ReadUciUntil(engine, "uciok", &handshake), "uciok");
  EXPECT_TRUE(AnyStartsWith(handshake, "option name Hash type spin default 3 min 1 max 4294"));
}

TEST(UciProcess, OwnBookAnswersFromTheBookFileAtOnce) {
  TempDir dir;
  WriteTextFile(dir.File("book.txt"), "     10e2e4e7e5g1f3\n");
  EngineProcess engine;
  StartUci(engine, dir);
  ASSERT_TRUE(SendLine(engine, "setoption name BookFile value book.txt"));
  EXPECT_EQ(RepliesBeforeReady(engine), std::vector<std::string>{"info string #book book.txt has 1 lines."});

  for (auto [moves, bookMove] : std::vector<std::pair<std::string, std::string>>{{"", "e2e4"}, {" moves e2e4", "e7e5"}}) {
    GoResult result = Go(engine, "position startpos" + moves, "go wtime 60000 btime 60000");
    EXPECT_EQ(result.bestmove, bookMove);
    EXPECT_TRUE(AnyStartsWith(result.lines, "info string book move"));
    EXPECT_TRUE(ScoreLines(result).empty()) << "searched instead";
  }
  // A Polyglot book goes through the same opening and probing (Debian's
  // gnuchess-book, which the test dependencies install).
  ASSERT_TRUE(SendLine(engine, "setoption name BookFile value /usr/share/games/gnuchess/book.bin"));
  GoResult polyglot = Go(engine, "position startpos moves e2e4", "go wtime 60000 btime 60000");
  EXPECT_TRUE(AnyStartsWith(polyglot.lines, "info string book move"));
  EXPECT_TRUE(ScoreLines(polyglot).empty()) << "searched instead";

  ASSERT_TRUE(SendLine(engine, "setoption name OwnBook value false"));
  GoResult searched = Go(engine, "position startpos", "go depth 2");
  EXPECT_FALSE(AnyStartsWith(searched.lines, "info string book move"));
  EXPECT_FALSE(ScoreLines(searched).empty());
}

TEST(UciProcess, IsreadyIsAnsweredIdleAndDuringASearch) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  EXPECT_EQ(RepliesBeforeReady(engine), std::vector<std::string>{});
  Send(engine, {"position startpos", "go infinite"});
  ReadAvailable(engine, 300);
  long long sent = NowMs();
  std::vector<std::string> before;
  ASSERT_TRUE(SendLine(engine, "isready"));
  ASSERT_EQ(ReadUciUntil(engine, "readyok", &before, 2000), "readyok");
  EXPECT_LT(NowMs() - sent, 1000);
  EXPECT_FALSE(AnyStartsWith(before, "bestmove")) << "the search ended";
  sent = NowMs();
  ASSERT_TRUE(SendLine(engine, "stop"));
  EXPECT_FALSE(ReadBestMove(engine, sent, 2000).bestmove.empty());
}

// Each position is checked by a move that is legal only where the moves
// should have led: "searchmoves" with that one move must play it.
TEST(UciProcess, PositionsWithMovesReachTheirPosition) {
  struct Case {
    std::string position;
    std::string proof;
  };
  const std::vector<Case> cases = {
      // White castled short: the king is on g1.
      {"position startpos moves e2e4 e7e5 g1f3 b8c6 f1c4 g8f6 e1g1 f8c5", "g1h1"},
      // Black castled long: the rook is on d8.
      {"position startpos moves d2d4 d7d5 b1c3 b8c6 c1f4 c8f5 d1d2 d8d7 e1c1 e8c8 a2a3", "d8e8"},
      // En passant played: a white pawn stands on d6 to be taken.
      {"position startpos moves e2e4 a7a6 e4e5 d7d5 e5d6", "e7d6"},
      // En passant from the FEN's field.
      {"position fen rnbqkbnr/ppp1pppp/8/3pP3/8/8/PPPP1PPP/RNBQKBNR w KQkq d6 0 3", "e5d6"},
      // Promotion to a queen, then a knight: the new pieces move as theirs.
      {"position fen 8/P6k/8/8/8/8/8/K7 w - - 0 1 moves a7a8q h7g6", "a8h1"},
      {"position fen 8/P6k/8/8/8/8/8/K7 w - - 0 1 moves a7a8n h7g6", "a8b6"},
      // Black's promotion.
      {"position fen k7/8/8/8/8/8/7p/K7 b - - 0 1 moves h2h1r a1b2", "h1h8"},
  };
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  for (const Case& c : cases) {
    GoResult result = Go(engine, c.position, "go depth 1 searchmoves " + c.proof);
    EXPECT_EQ(result.bestmove, c.proof) << c.position;
    EXPECT_FALSE(AnyStartsWith(result.lines, "info string")) << c.position;
  }
}

// The kings walk back and forth: Black's h8g8 now brings about the third
// occurrence of a position, which the game record knows. Without the record
// the same position is lost for Black.
TEST(UciProcess, RepetitionThroughTheGameRecordScoresAsADraw) {
  const std::string fen = "position fen 7k/8/8/8/8/8/5PPP/1Q4K1 b - - 0 1";
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  GoResult repeated =
      Go(engine, fen + " moves h8g8 g1h1 g8h8 h1g1 h8g8 g1h1 g8h8 h1g1", "go depth 4");
  EXPECT_EQ(repeated.bestmove, "h8g8");
  ASSERT_FALSE(ScoreLines(repeated).empty());
  EXPECT_EQ(Field(ScoreLines(repeated).back(), SCORE_FIELD), "cp 0");

  GoResult fresh = Go(engine, fen, "go depth 4");
  ASSERT_FALSE(ScoreLines(fresh).empty());
  std::string score = Field(ScoreLines(fresh).back(), SCORE_FIELD);
  ASSERT_TRUE(StartsWith(score, "cp ")) << score;
  EXPECT_LT(std::stoi(score.substr(3)), -300);
}

TEST(UciProcess, DepthAndNodeLimitsHoldExactly) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  GoResult byDepth = Go(engine, "position startpos moves e2e4 e7e5", "go depth 4");
  std::vector<std::string> scores = ScoreLines(byDepth);
  ASSERT_FALSE(scores.empty());
  for (const std::string& line : scores) EXPECT_LE(std::stoi(Field(line, DEPTH_FIELD)), 4) << line;
  EXPECT_EQ(Field(scores.back(), DEPTH_FIELD), "4");

  // A node limit stops at that count, and the same search from a new game
  // gives the same answer.
  std::vector<std::string> finals;
  std::vector<std::string> moves;
  for (int run = 0; run < 2; run++) {
    ASSERT_TRUE(SendLine(engine, "ucinewgame"));
    GoResult byNodes = Go(engine, "position startpos", "go nodes 4000");
    ASSERT_FALSE(ScoreLines(byNodes).empty());
    std::string last = ScoreLines(byNodes).back();
    EXPECT_EQ(Field(last, NODES_FIELD), "4000") << last;
    for (const std::string& line : ScoreLines(byNodes))
      EXPECT_LE(std::stoull(Field(line, NODES_FIELD)), 4000u) << line;
    finals.push_back(std::regex_replace(last, std::regex(" (time|nps) [0-9]+"), ""));
    moves.push_back(byNodes.bestmove);
  }
  EXPECT_EQ(finals[0], finals[1]);
  EXPECT_EQ(moves[0], moves[1]);
}

TEST(UciProcess, MovetimeIsKeptWithinAMargin) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  for (int ms : {100, 400}) {
    GoResult result = Go(engine, "position startpos moves d2d4", "go movetime " + std::to_string(ms));
    EXPECT_FALSE(result.bestmove.empty());
    // The fixed-time stop keeps a small reserve (as "st" does under xboard).
    EXPECT_GE(result.ms, ms * 0.9 - 20);
    EXPECT_LE(result.ms, ms + 150) << "movetime " << ms;
  }
}

TEST(UciProcess, SearchmovesRestrictTheRootMoves) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  GoResult result = Go(engine, "position startpos", "go depth 3 searchmoves a2a3 h2h4");
  EXPECT_TRUE(result.bestmove == "a2a3" || result.bestmove == "h2h4") << result.bestmove;
  for (const std::string& line : ScoreLines(result)) {
    std::string pv = line.substr(line.find(" pv ") + 4, 4);
    EXPECT_TRUE(pv == "a2a3" || pv == "h2h4") << line;
  }
  // A move that is not legal is named; the rest still count.
  GoResult withBad = Go(engine, "position startpos", "go depth 2 searchmoves e2e5 g1f3");
  EXPECT_EQ(withBad.bestmove, "g1f3");
  EXPECT_TRUE(AnyStartsWith(withBad.lines, "info string go searchmoves: e2e5 is not a legal move here"));
}

TEST(UciProcess, MateScoresCountMovesFromTheSideToMove) {
  struct Case {
    std::string fen;
    std::string score;
  };
  const std::vector<Case> cases = {
      {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "mate 1"},
      {"k7/8/2K5/8/8/8/8/7R w - - 0 1", "mate 2"},
      {"k7/8/1K6/8/8/p7/8/7R b - - 0 1", "mate -1"},
  };
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  for (const Case& c : cases) {
    GoResult result = Go(engine, "position fen " + c.fen, "go depth 6");
    ASSERT_FALSE(ScoreLines(result).empty()) << c.fen;
    EXPECT_EQ(Field(ScoreLines(result).back(), SCORE_FIELD), c.score) << c.fen;
  }
  // Checkmated or stalemated already: no move, and the score says which.
  GoResult mated = Go(engine, "position fen k6R/8/1K6/8/8/8/8/8 b - - 0 1", "go depth 3");
  EXPECT_EQ(mated.bestmove, "0000");
  EXPECT_TRUE(AnyStartsWith(mated.lines, "info depth 0 score mate 0"));
  GoResult stalemate = Go(engine, "position fen k7/2Q5/1K6/8/8/8/8/8 b - - 0 1", "go depth 3");
  EXPECT_EQ(stalemate.bestmove, "0000");
  EXPECT_TRUE(AnyStartsWith(stalemate.lines, "info depth 0 score cp 0"));
}

// Both sides played by the engine at 1 second and 0.1 seconds a move, the
// clock run as a GUI runs it: no move may take longer than the time left.
TEST(UciProcess, ClockIsNeverOverrunInSixtyMoves) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  long long clocks[2] = {1000, 1000};
  std::string moves;
  long long worstShare = 0;
  for (int ply = 0; ply < 120; ply++) {
    int side = ply % 2;
    std::string go = "go wtime " + std::to_string(clocks[0]) + " btime " + std::to_string(clocks[1]) +
                     " winc 100 binc 100";
    GoResult result = Go(engine, "position startpos" + (moves.empty() ? "" : " moves" + moves), go);
    ASSERT_FALSE(result.bestmove.empty()) << "no answer at ply " << ply;
    if (result.bestmove == "0000") break;  // the game is over
    EXPECT_LT(result.ms, clocks[side]) << "overran at ply " << ply << " with " << clocks[side] << " ms left";
    worstShare = std::max(worstShare, result.ms * 100 / clocks[side]);
    clocks[side] += 100 - result.ms;
    moves += " " + result.bestmove;
  }
  EXPECT_LT(worstShare, 50) << "a move took " << worstShare << "% of the time left";
}

TEST(UciProcess, StopEndsAnInfiniteSearchAndReleasesAFinishedOne) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  Send(engine, {"position startpos", "go infinite"});
  ExpectSilence(engine, 500);
  long long sent = NowMs();
  ASSERT_TRUE(SendLine(engine, "stop"));
  GoResult stopped = ReadBestMove(engine, sent, 2000);
  EXPECT_FALSE(stopped.bestmove.empty());
  EXPECT_LT(stopped.ms, 500);

  // A mate in one ends the search at once; the answer still waits.
  Send(engine, {"position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "go infinite"});
  ExpectSilence(engine, 500);
  sent = NowMs();
  ASSERT_TRUE(SendLine(engine, "stop"));
  GoResult finished = ReadBestMove(engine, sent, 2000);
  EXPECT_EQ(finished.bestmove, "d1d8");
  EXPECT_LT(finished.ms, 500);
  // "stop" with nothing running has no answer.
  ASSERT_TRUE(SendLine(engine, "stop"));
  EXPECT_EQ(RepliesBeforeReady(engine), std::vector<std::string>{});
}

TEST(UciProcess, PonderhitTurnsThePonderSearchIntoTheEnginesOwn) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  const std::string clock = " wtime 3000 btime 3000 winc 0 binc 0";
  struct Case {
    std::string position;
    std::string release;  // "ponderhit" or "stop"
  };
  const std::vector<Case> cases = {
      {"position startpos moves e2e4 e7e5", "ponderhit"},
      {"position startpos moves e2e4 e7e5", "stop"},
      {"position fen 6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "ponderhit"},  // done before the hit
  };
  for (const Case& c : cases) {
    Send(engine, {c.position, "go ponder" + clock});
    ExpectSilence(engine, 700);
    long long sent = NowMs();
    ASSERT_TRUE(SendLine(engine, c.release));
    GoResult result = ReadBestMove(engine, sent, 3000);
    EXPECT_FALSE(result.bestmove.empty()) << c.position << " " << c.release;
    // From the hit on, the clock allocation of 3 seconds holds: well
    // under a second for one move.
    EXPECT_LT(result.ms, 1000) << c.position << " " << c.release;
  }
}

TEST(UciProcess, QuitOrTheEndOfInputEndsTheEngineDuringASearch) {
  // "stop" and "quit" in one write: the stop's bestmove still goes out.
  for (std::string ending : {"quit", "end of input", "stop\nquit"}) {
    TempDir dir;
    EngineProcess engine;
    StartUci(engine, dir);
    Send(engine, {"position startpos", "go infinite"});
    ReadAvailable(engine, 300);
    if (ending == "end of input")
      CloseInput(engine);
    else
      ASSERT_TRUE(SendLine(engine, ending));
    EXPECT_TRUE(WaitForExit(engine, 3000)) << ending;
    EXPECT_EQ(engine.exitStatus, 0);
    bool answered = ("\n" + engine.pending).find("\nbestmove ") != std::string::npos;
    EXPECT_EQ(answered, ending == "stop\nquit") << ending;
  }
}

// Each bad line gets one "info string" and the engine goes on: the isready
// after it is answered and the last search still plays.
TEST(UciProcess, BadInputIsAnsweredAndNothingIsLost) {
  struct Case {
    std::string input;
    std::string reply;
  };
  const std::vector<Case> cases = {
      {"xyzzy 3", "info string unknown command xyzzy"},
      {"position startpos moves e2e4 e7e5 e1e3 d7d6", "info string illegal move e1e3: the position stands before it"},
      {"position startpos moves e2e4 banana", "info string illegal move banana: the position stands before it"},
      {"position", "info string position needs startpos or fen, not \"\""},
      {"position startpos e2e4", "info string position: \"e2e4\" where moves should begin; no moves played"},
      {"position fen 8/8/8/8/8/8/8/K7 w - - 0 1", "info string illegal position (each side needs one king): 8/8/8/8/8/8/8/K7 w - - 0 1"},
      {"position fen r6k/8/8/8/8/8/8/K7 b - - 0 1",
       "info string illegal position (the side not to move is in check): r6k/8/8/8/8/8/8/K7 b - - 0 1"},
      {"position fen k7/8/8/8/8/8/8/K7 x - -", "info string illegal position (the side to move is not w or b): k7/8/8/8/8/8/8/K7 x - -"},
      {"position fen k7/9/8/8/8/8/8/K7 w - -",
       "info string illegal position (the placement is not eight ranks of eight squares): k7/9/8/8/8/8/8/K7 w - -"},
      {"position fen kP6/8/8/8/8/8/8/K7 w - -",
       "info string illegal position (a pawn stands on the first or last rank): kP6/8/8/8/8/8/8/K7 w - -"},
      {"go depth 1 banana", "info string go: unknown word banana ignored"},
      {std::string(9000, 'x'), "info string line longer than 8191 characters ignored"},
  };
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  for (const Case& c : cases) {
    ASSERT_TRUE(SendLine(engine, c.input));
    std::vector<std::string> replies;
    if (StartsWith(c.input, "go")) {
      GoResult result = ReadBestMove(engine, NowMs());
      EXPECT_FALSE(result.bestmove.empty());
      replies = result.lines;
    }
    std::vector<std::string> beforeReady = RepliesBeforeReady(engine);
    replies.insert(replies.end(), beforeReady.begin(), beforeReady.end());
    ASSERT_FALSE(replies.empty()) << c.input.substr(0, 60);
    EXPECT_EQ(replies.front(), c.reply) << c.input.substr(0, 60);
  }
  // After an illegal FEN "go" answers at once without a search; the next
  // good position plays again.
  GoResult refused = Go(engine, "position fen 8/8/8/8/8/8/8/8 w - -", "go depth 5");
  EXPECT_EQ(refused.bestmove, "0000");
  EXPECT_TRUE(ScoreLines(refused).empty());
  GoResult played = Go(engine, "position startpos moves e2e4", "go depth 2");
  EXPECT_NE(played.bestmove, "0000");
  EXPECT_FALSE(played.bestmove.empty());
}

// A command other than isready, stop, ponderhit or quit during a search
// ends the search (its bestmove first) and then takes effect.
TEST(UciProcess, ACommandDuringASearchEndsItAndThenRuns) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  Send(engine, {"position startpos", "go infinite"});
  ReadAvailable(engine, 300);
  long long sent = NowMs();
  Send(engine, {"position startpos moves e2e4", "go depth 2 searchmoves e7e5"});
  GoResult first = ReadBestMove(engine, sent, 3000);
  EXPECT_FALSE(first.bestmove.empty());
  GoResult second = ReadBestMove(engine, sent, 3000);
  EXPECT_EQ(second.bestmove, "e7e5");
}

// The engine's own remarks (time allocation, stops) come as info strings,
// and no xboard line appears; the reader checks every line for UCI form.
TEST(UciProcess, TheEnginesOtherOutputComesAsInfoStrings) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  GoResult result = Go(engine, "position startpos", "go wtime 2000 btime 2000");
  EXPECT_FALSE(result.bestmove.empty());
  EXPECT_TRUE(AnyStartsWith(result.lines, "info string comptime "));
  for (const std::string& line : result.lines) EXPECT_FALSE(StartsWith(line, "move ")) << line;
}

// currmove lines name a root move and its number, not in the first second
// and at most once a second after it.
TEST(UciProcess, CurrmoveComesAtMostOnceASecond) {
  TempDir dir;
  EngineProcess engine;
  StartUci(engine, dir);
  Send(engine, {"position startpos moves e2e4 e7e5 g1f3 b8c6", "go infinite"});
  long long started = NowMs();
  std::vector<long long> seen;
  std::string line;
  while (NowMs() - started < 3500) {
    if (!ReadLine(engine, line, 100) || line.find(" currmove ") == std::string::npos) continue;
    EXPECT_TRUE(std::regex_match(line, std::regex("info depth [0-9]+ currmove [a-h][1-8][a-h][1-8] currmovenumber [0-9]+")))
        << line;
    seen.push_back(NowMs() - started);
  }
  ASSERT_TRUE(SendLine(engine, "stop"));
  EXPECT_FALSE(ReadBestMove(engine, NowMs(), 3000).bestmove.empty());
  for (size_t i = 0; i < seen.size(); i++) {
    EXPECT_GE(seen[i], 900) << "currmove in the first second";
    if (i > 0) {
      EXPECT_GE(seen[i] - seen[i - 1], 900) << "two currmove lines within a second";
    }
  }
}
