// Helpers of the xboard process tests: start the engine past its start-up
// lines, send lines, read replies with a deadline, and the legal moves of a
// position as the interface would check them.
#pragma once

#include <regex>
#include <string>
#include <vector>

#include "process.h"

extern const char* const START_FEN;
// A thinking line of a ponder search: the console marks it as a comment.
extern const std::regex PONDER_THINKING_LINE;

long long NowMs();
// Starts the engine and reads past its start-up lines.
void Start(EngineProcess& engine, const TempDir& dir, std::vector<std::string>* startUp = nullptr);
void Send(EngineProcess& engine, const std::vector<std::string>& lines);
// Reads lines until one starts with prefix; returns it (empty on timeout).
std::string ReadUntilPrefix(EngineProcess& engine, const std::string& prefix, std::vector<std::string>* skipped,
                            int timeoutMs = 10000);
// The engine's next "move ..." line, as its move text.
std::string ReadEngineMove(EngineProcess& engine, std::vector<std::string>* skipped = nullptr,
                           int timeoutMs = 10000);
// The legal moves, as text, of the position reached from fen by moves.
std::vector<std::string> LegalMoves(const char* fen, const std::vector<std::string>& moves = {});
bool Contains(const std::vector<std::string>& list, const std::string& item);
bool AnyStartsWith(const std::vector<std::string>& lines, const std::string& prefix);
