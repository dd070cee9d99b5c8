// Checks on the files that console commands read and write.
#pragma once

#include <cstdio>

// 1 when name is an existing regular file (links followed), 0 when nothing
// of that name can be found, -1 when it is something else: a directory, a
// device, a pipe.
int RegularFileStatus(const char* name);
// 1 when name can be created or replaced as a regular file: nothing of that
// name exists yet, or a regular file does. A device, a directory or a pipe
// of that name is refused, so that no command writes into one.
int IsWritableName(const char* name);
// Closes a file that was written and tells whether every write reached it;
// on a failure it prints "Error: writing %s failed.\n" with the name.
// Returns 1 when all went well.
int CloseWrittenFile(FILE* file, const char* name);
