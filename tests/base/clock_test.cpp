#include <gtest/gtest.h>

#include "base/clock.h"

TEST(Clock, ElapsedTimeStaysPositiveAcrossTheWrap) {
  struct Case {
    double start, now, elapsed;
  };
  const Case cases[] = {
      {10.0, 12.5, 2.5},
      {9999999.5, 0.25, 0.75},
      {9999990.0, 9999999.999, 9.999},
      {42.0, 42.0, 0.0},
  };
  for (const Case& c : cases) EXPECT_NEAR(ElapsedBetween(c.start, c.now), c.elapsed, 1e-6) << c.start;

  double now = ReadClock();
  EXPECT_GE(now, 0.0);
  EXPECT_LT(now, 10000000.0);
  EXPECT_GE(ElapsedSince(now), 0.0);
  EXPECT_LT(ElapsedSince(now), 5.0);
}

TEST(Clock, SleepWaitsAboutTheGivenTime) {
  double start = ReadClock();
  SleepMilliseconds(50);
  EXPECT_GE(ElapsedSince(start), 0.04);
}
