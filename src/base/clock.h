// The wall clock and a sleep. Uses only the standard library and the system.
#pragma once

// Wall clock in seconds (repeats every 10,000,000 seconds).
double ReadClock();
// Seconds since an earlier ReadClock value, never negative across the wrap.
double ElapsedSince(double start);
// Seconds from one ReadClock value to a later one, across the wrap.
double ElapsedBetween(double start, double now);
// Sleeps the given milliseconds.
void SleepMilliseconds(int ms);
