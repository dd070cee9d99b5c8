// Stop thresholds and poll interval for a search, and the thinking lines.
#include "search/timectl.h"

#include <cmath>

#include "base/clock.h"
#include "base/output.h"
#include "moves/movetext.h"

// Largest 2^k - 1 not above x (x >= 1), kept inside an int mask.
static int PowerMask(double x) {
  int k = (int)std::floor(std::log2(x));
  if (k > 30) k = 30;
  return (int)((1u << k) - 1);
}

static void SetStopTimes(double a, double b, double c) {
  stopTimeA = a;
  stopTimeB = b;
  stopTimeC = c;
}

// Poll often enough to look at the clock at least twelve times before b,
// and at least eight times a second: "?", "quit" and the opponent's move
// during pondering must not wait seconds for the next poll at long time
// controls, while the engine's clock runs.
static int PollInterval(double b) {
  int p = 1023;
  double S = systemSpeed;
  if (S > 0) {
    double x = S * b / 12;
    p = x >= 8 ? PowerMask(x) : 0;
    if (p < 8) p = 1023;
    int q = PowerMask(S / 8);
    if (p > q) p = q;
  }
  return p;
}

void AllocateTime(int mode) {
  double T = comptime;
  double A, B, C;
  if (movesPerControl > 0) {
    int M = movesPerControl;
    int togo = M - ((mainBoard.gamePly / 2) % M);
    if (togo > 1) togo++;  // one move of reserve
    double t = T / togo;
    A = 0.5 * t;
    B = 0.9 * t;
    C = std::fmin(4 * t, 0.7 * T);
    if (togo == 1) {  // last move before the control
      A = 0.25 * t;
      B = 0.45 * t;
      C = C / 2;
    }
  } else {
    double u = T / 35 + increment;
    double cap = increment == 0 ? 0.2 * T : 0.7 * T;
    A = 0.5 * u;
    B = std::fmin(0.9 * u, cap);
    C = std::fmin(4 * u, cap);
  }

  pollnodes = PollInterval(B);

  if (mode == 1) {
    A *= 10;
    B *= 10;
    C *= 10;
  } else if (mode == 2) {
    A = T;
    B = T;
    C = 1.2 * T;
  }
  SetStopTimes(A, B, C);
  Output(OUT_CONSOLE | OUT_LOG, "comptime %5.2f  A=%6.3f  B=%6.3f  C=%6.3f pollnodes=%d\n", T, A, B, C,
         pollnodes);
}

void PrintThinking(int ply, double elapsed, int score, int nodes, const Line& line, int form) {
  int time = (int)(elapsed * 100);
  if (form == 1) {
    Output(OUT_CONSOLE | OUT_LOG, "%2d %6d %7d %10d ", ply, score, time, nodes);
  } else if (form == 0) {
    Output(OUT_CONSOLE | OUT_LOG, "tellics kibitz ply=%2d score=%d time=%d nodes=%d  ", ply, score, time,
           nodes);
    int divisor = (int)(elapsed * 8);
    int nps = divisor > 0 ? (int)((uint32_t)nodes * 8u) / divisor : 0;
    Output(OUT_CONSOLE | OUT_LOG, "NPS=%d ", nps);
  }
  char text[8];
  for (int i = 0; i < line.count && i < MAX_LINE; i++) {
    MoveToText(line.moves[i], text);
    Output(OUT_CONSOLE | OUT_LOG, "%s ", text);
  }
  Output(OUT_CONSOLE | OUT_LOG, "\n");
}

// The search stops a little before the allowed time, so that unwinding it
// and sending the move fit inside; the clock is looked at about fifty times
// in that time, so the stop comes at most a fiftieth late.
void AllocateFixedTime(double seconds) {
  static const double STOP_FRACTION = 0.97;
  static const double STOP_MARGIN = 0.01;
  double stop = std::fmax(STOP_FRACTION * seconds - STOP_MARGIN, 0.5 * seconds);
  pollnodes = PollInterval(stop / 4);
  SetStopTimes(stop, stop, stop);
}

// No stop by the clock; the input is still polled about twelve times a
// second so that a stop arrives at once.
void AllocateNoTimeLimit() {
  static const double NEVER = 1e9;
  pollnodes = PollInterval(1.0);
  SetStopTimes(NEVER, NEVER, NEVER);
}

void CheckStopTimes() {
  if (endSearch == 3 || inSearch == 0) return;
  double elapsed = ElapsedSince(searchStartTime);
  if (elapsed > stopTimeA) endSearch = 1;
  if (elapsed > stopTimeB) endSearch = 2;
  if (elapsed > stopTimeC) endSearch = 3;
}
