// The wall clock and a sleep.
#include "base/clock.h"

#include <cerrno>
#include <ctime>

constexpr double CLOCK_PERIOD = 10000000.0;

double ReadClock() {
  struct timespec now;
  clock_gettime(CLOCK_REALTIME, &now);
  long long seconds = (long long)now.tv_sec;
  int milliseconds = (int)(now.tv_nsec / 1000000);
  return (double)(seconds % 10000000) + milliseconds / 1000.0;
}

double ElapsedBetween(double start, double now) {
  double elapsed = now - start;
  if (elapsed < 0) elapsed += CLOCK_PERIOD;
  return elapsed;
}

double ElapsedSince(double start) { return ElapsedBetween(start, ReadClock()); }

void SleepMilliseconds(int ms) {
  if (ms <= 0) return;
  struct timespec pause = {ms / 1000, (long)(ms % 1000) * 1000000L};
  while (nanosleep(&pause, &pause) != 0 && errno == EINTR) {
  }
}
