// Console commands for testing and analysis.
// Front end: may use every layer.
#pragma once

#include <cstdint>

#include "driver/testpositions.h"

// Runs the diagnostic command named by word with the rest of the line.
// Returns 1 when word names one, 0 otherwise.
int RunDiagnosticCommand(const char* word, const char* line);

// One analysis of the benchmark: its header line, position and depth.
struct BenchRow {
  const char* header;
  TestPositionId position;
  int depth;
};

// Analyses each row in turn (think mode 2 at the row's depth) and prints
// the benchmark's lines; returns the total node count.
uint64_t RunBench(const BenchRow* rows, int count);

// The short benchmark over the same positions at reduced depths, from empty
// search memory; its last lines are the time, "N nodes" and "N nps".
// Returns the total node count.
uint64_t RunShortBench();

// "quorvel bench": start-up with the default hash size (no configuration
// file, no log), the short benchmark, and the exit status.
int BenchFromCommandLine();
