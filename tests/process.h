// Runs the engine binary as a child process with pipes, for tests that talk
// to it as an interface would. Every wait has a timeout and a child that
// outlives it is killed, so a test never hangs.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A fresh directory under /tmp, removed with everything in it at the end of
// its scope.
struct TempDir {
  std::string path;
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string File(const std::string& name) const { return path + "/" + name; }
};

// Writes text to a file (for Quorvel.rc and other inputs of a test).
void WriteTextFile(const std::string& fileName, const std::string& text);
// Whole contents of a file; empty when it cannot be read.
std::string ReadTextFile(const std::string& fileName);
// Splits text at LF into lines without their LF (a last unterminated piece
// counts as a line).
std::vector<std::string> SplitLines(const std::string& text);

// A running engine. stderr is merged into stdout, so sanitizer reports show
// up in what the test reads.
struct EngineProcess {
  pid_t pid = -1;
  int toEngine = -1;    // the engine's standard input
  int fromEngine = -1;  // its standard output and error
  std::string pending;  // output read but not yet returned as lines
  bool outputEnded = false;
  bool exited = false;
  int exitStatus = -1;  // exit code, or 128 + signal number
  ~EngineProcess();     // kills a child that is still running
};

// Starts the engine (QUORVEL_BINARY unless binary is given) in workDir.
bool StartEngine(EngineProcess& engine, const std::string& workDir, const std::string& binary = "");
// Sends text followed by "\n" (the text may carry its own "\r").
bool SendLine(EngineProcess& engine, const std::string& text);
// Sends raw bytes.
bool SendText(EngineProcess& engine, const std::string& text);
// Next output line (without "\n"), waiting at most timeoutMs. False on
// timeout or at end of output.
bool ReadLine(EngineProcess& engine, std::string& line, int timeoutMs = 10000);
// Reads lines until one equals expected; the lines before it go to skipped.
bool ReadUntil(EngineProcess& engine, const std::string& expected, std::vector<std::string>* skipped = nullptr,
               int timeoutMs = 10000);
// Every output line that arrives within waitMs (to check for silence).
std::vector<std::string> ReadAvailable(EngineProcess& engine, int waitMs);
// Closes the engine's standard input (end of input).
void CloseInput(EngineProcess& engine);
// Waits for the engine to end; kills it after timeoutMs. Output that arrives
// meanwhile is kept in pending. True when it ended by itself.
bool WaitForExit(EngineProcess& engine, int timeoutMs = 10000);
void KillEngine(EngineProcess& engine);

struct EngineRun {
  std::string output;  // everything the engine printed
  int exitStatus = -1;
  bool timedOut = false;
};

// Starts the engine in workDir, sends input, and collects the output lines
// up to one that equals last (waiting at most timeoutMs) into output; then
// sends "quit" and waits for the end. False when last never came. For runs
// that "quit" waiting in the input would cut short.
bool RunUntilLine(const std::string& workDir, const std::string& input, const std::string& last,
                  std::vector<std::string>* output, int timeoutMs = 60000);

// One-shot: start the engine in workDir, send input, close its input, collect
// all output until it exits (killed after timeoutMs).
EngineRun RunEngine(const std::string& input, const std::string& workDir, int timeoutMs = 20000);
