// The output routine with its destinations (console, log file, EPD analysis
// file) and the log file of the run. Uses only the process-wide state.
#pragma once

// Destinations of Output.
constexpr int OUT_CONSOLE = 1;
constexpr int OUT_LOG = 2;
constexpr int OUT_EPD = 4;

// Creates Quorvel.log in the working directory with its date line.
// 0 on success, 1 when it cannot be created.
int OpenLog();
void CloseLog();
void Output(int mask, const char* format, ...) __attribute__((format(printf, 2, 3)));
