#include "protocol_helpers.h"

#include <chrono>

#include "board/fen.h"
#include "board/movegen.h"
#include "capture.h"
#include "moves/makemove.h"
#include "moves/movetext.h"

const char* const START_FEN = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";
static const std::regex GENERATED_LINE("# Generated [0-9]+ random numbers");
const std::regex PONDER_THINKING_LINE("#  ?[0-9]+ +-?[0-9]+ +[0-9]+ +[0-9]+ .*");

long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void Start(EngineProcess& engine, const TempDir& dir, std::vector<std::string>* startUp) {
  ASSERT_TRUE(StartEngine(engine, dir.path));
  std::string line;
  for (;;) {
    ASSERT_TRUE(ReadLine(engine, line)) << "no end of start-up";
    if (startUp != nullptr) startUp->push_back(line);
    if (std::regex_match(line, GENERATED_LINE)) return;
  }
}

void Send(EngineProcess& engine, const std::vector<std::string>& lines) {
  for (const std::string& line : lines) ASSERT_TRUE(SendLine(engine, line)) << line;
}

std::string ReadUntilPrefix(EngineProcess& engine, const std::string& prefix, std::vector<std::string>* skipped,
                            int timeoutMs) {
  long long deadline = NowMs() + timeoutMs;
  std::string line;
  for (;;) {
    long long left = deadline - NowMs();
    if (left <= 0 || !ReadLine(engine, line, (int)left)) return "";
    if (line.compare(0, prefix.size(), prefix) == 0) return line;
    if (skipped != nullptr) skipped->push_back(line);
  }
}

std::string ReadEngineMove(EngineProcess& engine, std::vector<std::string>* skipped,
                           int timeoutMs) {
  std::string line = ReadUntilPrefix(engine, "move ", skipped, timeoutMs);
  return line.empty() ? "" : line.substr(5);
}

std::vector<std::string> LegalMoves(const char* fen, const std::vector<std::string>& moves) {
  Board board;
  CaptureOutput([&] { ReadFen(fen, board); });
  std::vector<std::string> texts;
  for (size_t ply = 0; ply <= moves.size(); ply++) {
    Move list[MOVE_LIST_SIZE];
    GenerateMoves(board, list);
    texts.clear();
    Move played = 0;
    for (int i = 0; list[i]; i++) {
      char text[8];
      MoveToText(list[i], text);
      texts.push_back(text);
      if (ply < moves.size() && moves[ply] == text) played = list[i];
    }
    if (ply == moves.size()) break;
    if (played == 0) return {};  // the line is not legal
    MakeMove(played, board);
  }
  return texts;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  for (const std::string& s : list)
    if (s == item) return true;
  return false;
}

bool AnyStartsWith(const std::vector<std::string>& lines, const std::string& prefix) {
  for (const std::string& s : lines)
    if (s.compare(0, prefix.size(), prefix) == 0) return true;
  return false;
}

