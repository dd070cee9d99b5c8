// The configuration file, the log file and the output routine.
#pragma once

#include <cstdio>

// Destinations of Output.
constexpr int OUT_CONSOLE = 1;
constexpr int OUT_LOG = 2;
constexpr int OUT_EPD = 4;

int ReadConfig();
// Applies every line of an open configuration text (the body of ReadConfig).
void ReadConfigLines(FILE* file);
int OpenLog();
void CloseLog();
void Output(int mask, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Decimal integer conversion of command and configuration arguments: an
// optional sign and leading digits, 0 when there are none.
int ToInt(const char* text);
// value held to low..high. A value outside prints
// "# %s %.10g is out of range; %.10g used.\n" with the argument's name, so
// the reply shows what the command took.
double ClampArgument(double value, double low, double high, const char* name);

// Reads the next whitespace-delimited word of text into word (size bytes
// with the terminator; a longer word is cut) and returns the text after it.
// An empty word means the text held no further word.
const char* NextWord(const char* text, char* word, int size);
