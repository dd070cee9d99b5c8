// Reading numbers and words from command, configuration and file text.
// Uses only the standard library.
#pragma once

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
