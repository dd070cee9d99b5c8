// Console commands for testing and analysis.
#pragma once

// Runs the diagnostic command named by word with the rest of the line.
// Returns 1 when word names one, 0 otherwise.
int RunDiagnosticCommand(const char* word, const char* line);
