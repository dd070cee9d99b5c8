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

// Protocol output. From StartProtocolOutput on, every line the engine writes
// to standard output (printf, Output) goes out as the prefix followed by the
// line; empty lines are dropped. ProtocolLine writes one line as it stands
// (the text without its line end) and copies it to the log.
void StartProtocolOutput(const char* prefix);
void ProtocolLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
