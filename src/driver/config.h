// The configuration file Quorvel.rc: keywords book, hash, kibitz, resign.
// A front-end module: uses the base, the board and the search layers.
#pragma once

#include <cstdio>

// Reads Quorvel.rc from the working directory. 0 when it was read, 1 when
// it cannot be opened.
int ReadConfig();
// Applies one setting as its line in Quorvel.rc does ("book", "hash",
// "kibitz", "resign" and a value), with the same messages for bad values.
// "hash" only sets the size of the table allocated next.
void ApplySetting(const char* keyword, const char* value);
// Applies every line of an open configuration text (the body of ReadConfig).
void ReadConfigLines(FILE* file);
