// Shared set-up of the fuzz targets: the engine's tables, a small
// transposition table, output thrown away and a private working directory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Once per process: tables, hash table, stdout to /dev/null, and the
// working directory changed to a fresh directory under /tmp (every file a
// target writes lands there).
void FuzzSetUp();
// The engine's global state as it stands after start-up: start position,
// force mode, default clocks, empty input, no book.
void ResetEngineState();
// The fuzz input as text (NUL bytes kept up to the end, a terminator added).
std::string InputText(const uint8_t* data, size_t size);
// Writes bytes to a file of the working directory.
void WriteFuzzFile(const char* name, const uint8_t* data, size_t size);
