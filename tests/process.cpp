// Child-process harness for engine tests.
#include "process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifndef QUORVEL_BINARY
#define QUORVEL_BINARY "build/quorvel"
#endif

static long long NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TempDir::TempDir() {
  char pattern[] = "/tmp/quorvel-test-XXXXXX";
  char* made = mkdtemp(pattern);
  path = made != nullptr ? made : "";
}

TempDir::~TempDir() {
  if (path.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(path, ignored);
}

void WriteTextFile(const std::string& fileName, const std::string& text) {
  std::ofstream out(fileName, std::ios::binary);
  out << text;
}

std::string ReadTextFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

static void CloseFd(int& fd) {
  if (fd >= 0) close(fd);
  fd = -1;
}

static void RecordStatus(EngineProcess& engine, int status) {
  engine.exited = true;
  if (WIFEXITED(status))
    engine.exitStatus = WEXITSTATUS(status);
  else if (WIFSIGNALED(status))
    engine.exitStatus = 128 + WTERMSIG(status);
}

EngineProcess::~EngineProcess() {
  KillEngine(*this);
  CloseFd(toEngine);
  CloseFd(fromEngine);
}

bool StartEngine(EngineProcess& engine, const std::string& workDir, const std::string& binary) {
  // A write to an engine that has already ended must fail, not kill the test.
  signal(SIGPIPE, SIG_IGN);
  std::string program = binary.empty() ? QUORVEL_BINARY : binary;
  int input[2], output[2];
  if (pipe(input) != 0) return false;
  if (pipe(output) != 0) {
    close(input[0]);
    close(input[1]);
    return false;
  }
  pid_t pid = fork();
  if (pid < 0) {
    close(input[0]);
    close(input[1]);
    close(output[0]);
    close(output[1]);
    return false;
  }
  if (pid == 0) {
    dup2(input[0], 0);
    dup2(output[1], 1);
    dup2(output[1], 2);
    close(input[0]);
    close(input[1]);
    close(output[0]);
    close(output[1]);
    if (chdir(workDir.c_str()) != 0) _exit(126);
    execl(program.c_str(), program.c_str(), (char*)nullptr);
    _exit(127);
  }
  close(input[0]);
  close(output[1]);
  fcntl(input[1], F_SETFD, FD_CLOEXEC);
  fcntl(output[0], F_SETFD, FD_CLOEXEC);
  engine.pid = pid;
  engine.toEngine = input[1];
  engine.fromEngine = output[0];
  engine.pending.clear();
  engine.outputEnded = false;
  engine.exited = false;
  engine.exitStatus = -1;
  return true;
}

bool SendText(EngineProcess& engine, const std::string& text) {
  size_t sent = 0;
  while (sent < text.size()) {
    if (engine.toEngine < 0) return false;
    ssize_t n = write(engine.toEngine, text.data() + sent, text.size() - sent);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += (size_t)n;
  }
  return true;
}

bool SendLine(EngineProcess& engine, const std::string& text) { return SendText(engine, text + "\n"); }

// Reads what the engine has printed within waitMs into pending. False when
// nothing came (timeout or end of output).
static bool ReadSome(EngineProcess& engine, int waitMs) {
  if (engine.outputEnded || engine.fromEngine < 0) return false;
  struct pollfd p = {engine.fromEngine, POLLIN, 0};
  int ready = poll(&p, 1, waitMs < 0 ? 0 : waitMs);
  if (ready < 0) return errno == EINTR;
  if (ready == 0) return false;
  char chunk[4096];
  ssize_t n = read(engine.fromEngine, chunk, sizeof(chunk));
  if (n < 0) return errno == EINTR;
  if (n == 0) {
    engine.outputEnded = true;
    return false;
  }
  engine.pending.append(chunk, (size_t)n);
  return true;
}

bool ReadLine(EngineProcess& engine, std::string& line, int timeoutMs) {
  long long deadline = NowMs() + timeoutMs;
  for (;;) {
    size_t end = engine.pending.find('\n');
    if (end != std::string::npos) {
      line = engine.pending.substr(0, end);
      engine.pending.erase(0, end + 1);
      return true;
    }
    if (engine.outputEnded) {
      if (engine.pending.empty()) return false;
      line = engine.pending;
      engine.pending.clear();
      return true;
    }
    long long left = deadline - NowMs();
    if (left <= 0) return false;
    ReadSome(engine, (int)left);
  }
}

bool ReadUntil(EngineProcess& engine, const std::string& expected, std::vector<std::string>* skipped,
               int timeoutMs) {
  long long deadline = NowMs() + timeoutMs;
  std::string line;
  for (;;) {
    long long left = deadline - NowMs();
    if (left < 0 || !ReadLine(engine, line, (int)left)) return false;
    if (line == expected) return true;
    if (skipped != nullptr) skipped->push_back(line);
  }
}

std::vector<std::string> ReadAvailable(EngineProcess& engine, int waitMs) {
  long long deadline = NowMs() + waitMs;
  for (;;) {
    long long left = deadline - NowMs();
    if (left <= 0 || engine.outputEnded) break;
    ReadSome(engine, (int)left);
  }
  std::vector<std::string> lines;
  std::string line;
  while (engine.pending.find('\n') != std::string::npos && ReadLine(engine, line, 0)) lines.push_back(line);
  return lines;
}

void CloseInput(EngineProcess& engine) { CloseFd(engine.toEngine); }

bool WaitForExit(EngineProcess& engine, int timeoutMs) {
  if (engine.pid < 0) return engine.exited;
  long long deadline = NowMs() + timeoutMs;
  for (;;) {
    int status = 0;
    pid_t done = waitpid(engine.pid, &status, WNOHANG);
    if (done == engine.pid) {
      RecordStatus(engine, status);
      engine.pid = -1;
      // Collect what is still in the pipe.
      while (ReadSome(engine, 0)) {
      }
      return true;
    }
    if (NowMs() >= deadline) {
      KillEngine(engine);
      return false;
    }
    // Keep draining output so the engine never blocks on a full pipe.
    if (!ReadSome(engine, 20) && engine.outputEnded) usleep(5000);
  }
}

void KillEngine(EngineProcess& engine) {
  if (engine.pid < 0) return;
  kill(engine.pid, SIGKILL);
  int status = 0;
  while (waitpid(engine.pid, &status, 0) < 0 && errno == EINTR) {
  }
  RecordStatus(engine, status);
  engine.pid = -1;
}

bool RunUntilLine(const std::string& workDir, const std::string& input, const std::string& last,
                  std::vector<std::string>* output, int timeoutMs) {
  EngineProcess engine;
  if (!StartEngine(engine, workDir) || !SendText(engine, input)) return false;
  const bool found = ReadUntil(engine, last, output, timeoutMs);
  SendLine(engine, "quit");
  WaitForExit(engine);
  return found;
}

EngineRun RunEngine(const std::string& input, const std::string& workDir, int timeoutMs) {
  EngineRun run;
  EngineProcess engine;
  if (!StartEngine(engine, workDir)) return run;
  long long deadline = NowMs() + timeoutMs;
  size_t sent = 0;
  // Write the input and read the output together, so neither pipe can fill
  // up and stall the other side.
  while (engine.toEngine >= 0 && NowMs() < deadline) {
    if (sent == input.size()) {
      CloseInput(engine);
      break;
    }
    struct pollfd p[2] = {{engine.toEngine, POLLOUT, 0}, {engine.fromEngine, POLLIN, 0}};
    int ready = poll(p, engine.outputEnded ? 1 : 2, 50);
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    if (p[0].revents & (POLLERR | POLLHUP)) {
      CloseInput(engine);
      break;
    }
    if (p[0].revents & POLLOUT) {
      // At most one pipe page: a write the pipe has room for never blocks.
      size_t chunk = input.size() - sent < 512 ? input.size() - sent : 512;
      ssize_t n = write(engine.toEngine, input.data() + sent, chunk);
      if (n > 0)
        sent += (size_t)n;
      else if (n < 0 && errno != EINTR && errno != EAGAIN) {
        CloseInput(engine);
        break;
      }
    }
    if (!engine.outputEnded && (p[1].revents & (POLLIN | POLLHUP))) ReadSome(engine, 0);
  }
  CloseInput(engine);
  long long left = deadline - NowMs();
  run.timedOut = !WaitForExit(engine, left > 0 ? (int)left : 0);
  // Read the output to its end (a killed engine's pipe ends at once).
  while (ReadSome(engine, 1000)) {
  }
  run.output = engine.pending;
  run.exitStatus = engine.exitStatus;
  return run;
}
