// The text opening book.
#pragma once

#include <cstdio>

extern FILE* bookFile;
extern int bookRecordLength;
extern int bookLines;

int OpenBook();
int ProbeBook();
