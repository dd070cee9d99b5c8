// Building a book from games, re-scoring it, and playing from the result.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process.h"

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Four games: a Ruy Lopez with a knight move that needs its file, a
// Queen's Gambit with comments, a mate in seven half-moves (too short for
// the book) and a game with a king move that cannot be played.
const char* const games =
    "[Event \"Test\"]\r\n"
    "[White \"A\"]\r\n"
    "[Black \"B\"]\r\n"
    "[Result \"1-0\"]\r\n"
    "\r\n"
    "1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 6. Re1 b5 7. Bb3 d6 8. c3\r\n"
    "O-O 9. h3 Nb8 10. d4 Nbd7 11. c4 c6 12. cxb5 axb5 13. Nc3 Bb7 14. Bg5 b4 15.\r\n"
    "Nb1 h6 16. Bh4 c5 1-0\r\n"
    "\r\n"
    "[Event \"Test\"]\n"
    "[Result \"1/2-1/2\"]\n"
    "\n"
    "1. d4 d5 2. c4 e6 {the classical defence} 3. Nc3 Nf6 4. Bg5 Be7 5. e3 O-O\n"
    "6. Nf3 Nbd7 7. Rc1 c6 8. Bd3 dxc4 9. Bxc4 Nd5 {freeing} 10. Bxe7 Qxe7 11. O-O\n"
    "Nxc3 12. Rxc3 e5 13. Qc2 e4 14. Nd2 Nf6 15. Rb3 b6 16. a4 Bg4 1/2-1/2\n"
    "\n"
    "[Event \"Short\"]\n"
    "\n"
    "1. e4 e5 2. Qh5 Nc6 3. Bc4 Nf6 4. Qxf7# 1-0\n"
    "\n"
    "[Event \"Broken\"]\n"
    "\n"
    "1. e4 e5 2. Nf3 Nc6 3. Ke3 Nf6 4. d4 d6 5. Nc3 Be7 6. Be2 O-O 7. O-O a6 8. a3\n"
    "b5 9. h3 Bb7 10. Re1 Re8 11. Bf1 Bf8 12. d5 Nb8 13. Nh2 c6 14. dxc6 Nxc6 15.\n"
    "Bg5 h6 16. Bh4 g5 0-1\n";

const std::string ruyLopez =
    "e2e4e7e5g1f3b8c6f1b5a7a6b5a4g8f6e1g1f8e7f1e1b7b5a4b3d7d6c2c3e8g8h2h3c6b8d2d4b8d7c3c4c7c6c4b5a6b5b1c3c8b7"
    "c1g5b5b4c3b1h7h6";
const std::string queensGambit =
    "d2d4d7d5c2c4e7e6b1c3g8f6c1g5f8e7e2e3e8g8g1f3b8d7a1c1c7c6f1d3d5c4d3c4f6d5g5e7d8e7e1g1d5c3c1c3e6e5d1c2e5e4"
    "f3d2d7f6c3b3b7b6";

TEST(BookTools, BuildScoreAndPlayFromABook) {
  TempDir dir;
  WriteTextFile(dir.File("games.pgn"), games);

  EngineRun build = RunEngine("book games.pgn\nquit\n", dir.path, 60000);
  ASSERT_EQ(build.exitStatus, 0) << build.output;
  EXPECT_TRUE(Contains(build.output, "white won/")) << build.output;
  EXPECT_TRUE(Contains(build.output, "drawn game/"));
  EXPECT_TRUE(Contains(build.output, "XXXKe3/")) << build.output;
  EXPECT_EQ(ReadTextFile(dir.File("games.pgn.txt")), ruyLopez + "\r\n" + queensGambit + "\r\n");

  WriteTextFile(dir.File("Quorvel.rc"), "hash 8\nbook games.pgn.txt\n");
  {
    // Input waiting during the analyses would run inside them, so "quit"
    // follows only once the upgrade has finished.
    EngineProcess upgrade;
    ASSERT_TRUE(StartEngine(upgrade, dir.path));
    ASSERT_TRUE(ReadUntil(upgrade, "#book games.pgn.txt has 2 lines."));
    ASSERT_TRUE(SendLine(upgrade, "upgrade"));
    ASSERT_TRUE(ReadUntil(upgrade, "begin book upgrade..."));
    ASSERT_TRUE(ReadUntil(upgrade, "finished book upgrade.", nullptr, 120000));
    SendLine(upgrade, "quit");
    EXPECT_TRUE(WaitForExit(upgrade));
  }
  const std::string scored = ReadTextFile(dir.File("games.pgn.txt.upg.txt"));
  const std::vector<std::string> lines = SplitLines(scored);
  ASSERT_GE(lines.size(), 2u) << scored;
  const std::string* moves[] = {&ruyLopez, &queensGambit};
  for (int i = 0; i < 2; i++) {
    // Seven columns of right-aligned score, the moves, CR-LF.
    ASSERT_EQ(lines[i].size(), moves[i]->size() + 8) << lines[i];
    EXPECT_EQ(lines[i].substr(7), *moves[i] + "\r");
    const std::string score = lines[i].substr(0, 7);
    EXPECT_NE(score.back(), ' ') << score;
    EXPECT_NO_FATAL_FAILURE(std::stoi(score));
  }

  // Named in the settings, the scored book gives White's first move.
  WriteTextFile(dir.File("Quorvel.rc"), "hash 8\nbook games.pgn.txt.upg.txt\n");
  EngineProcess engine;
  ASSERT_TRUE(StartEngine(engine, dir.path));
  ASSERT_TRUE(SendLine(engine, "new"));
  ASSERT_TRUE(SendLine(engine, "go"));
  std::vector<std::string> before;
  std::string line;
  bool moved = false;
  while (ReadLine(engine, line, 20000)) {
    if (line.rfind("move ", 0) == 0) {
      EXPECT_TRUE(line == "move e2e4" || line == "move d2d4") << line;
      moved = true;
      break;
    }
    before.push_back(line);
  }
  ASSERT_TRUE(moved);
  bool sawBookLine = false;
  for (const std::string& l : before) sawBookLine |= l.rfind("Book line: ", 0) == 0;
  EXPECT_TRUE(sawBookLine);
  SendLine(engine, "quit");
  EXPECT_TRUE(WaitForExit(engine));
}

TEST(BookTools, UnreadableGameFile) {
  TempDir dir;
  EngineRun run = RunEngine("book missing.pgn\nping 1\nquit\n", dir.path);
  EXPECT_TRUE(Contains(run.output, "Cannot open file missing.pgn\npong 1\n")) << run.output;
}

}  // namespace
