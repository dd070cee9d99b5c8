// The log file and the output routine.
#include "base/output.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "base/state.h"

int OpenLog() {
  logFile = fopen("Quorvel.log", "w");
  if (logFile == nullptr) {
    printf("Cannot create log file.\n");
    return 1;
  }
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  fprintf(logFile, "[Date \"%d.%d.%d\"]\n", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  fflush(logFile);
  return 0;
}

void CloseLog() {
  if (logFile != nullptr) fclose(logFile);
  logFile = nullptr;
}

void Output(int mask, const char* format, ...) {
  va_list args;
  if (mask & OUT_CONSOLE) {
    va_start(args, format);
    vprintf(format, args);
    va_end(args);
  }
  if ((mask & OUT_LOG) && logFile != nullptr) {
    va_start(args, format);
    vfprintf(logFile, format, args);
    va_end(args);
    fflush(logFile);
  }
  if ((mask & OUT_EPD) && epdLogFile != nullptr) {
    va_start(args, format);
    vfprintf(epdLogFile, format, args);
    va_end(args);
    fflush(epdLogFile);
  }
}

// Protocol output: standard output becomes a stream whose lines are
// prefixed and written to descriptor 1, where the protocol lines go too.
static const char* linePrefix = "";
static char pendingText[1024];  // the unfinished line of standard output
static size_t pendingLength = 0;

static void WriteAll(const char* data, size_t size) {
  while (size > 0) {
    ssize_t written = write(1, data, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return;
    data += written;
    size -= (size_t)written;
  }
}

// Writes the pending text as one prefixed line.
static void WritePendingLine() {
  char line[sizeof(pendingText) + 64];
  int length = snprintf(line, sizeof line, "%s%.*s\n", linePrefix, (int)pendingLength, pendingText);
  if (length > (int)sizeof line - 1) length = (int)sizeof line - 1;
  WriteAll(line, (size_t)length);
  pendingLength = 0;
}

static ssize_t WritePrefixed(void*, const char* data, size_t size) {
  for (size_t i = 0; i < size; i++) {
    char c = data[i];
    if (c == '\n') {
      if (pendingLength > 0) WritePendingLine();
    } else if (c != '\r') {
      // A longer line goes out in pieces, each a line of its own.
      if (pendingLength == sizeof(pendingText)) WritePendingLine();
      pendingText[pendingLength++] = c;
    }
  }
  return (ssize_t)size;
}

void StartProtocolOutput(const char* prefix) {
  fflush(stdout);
  linePrefix = prefix;
  cookie_io_functions_t functions = {nullptr, WritePrefixed, nullptr, nullptr};
  FILE* prefixed = fopencookie(nullptr, "w", functions);
  if (prefixed == nullptr) return;
  setvbuf(prefixed, nullptr, _IONBF, 0);
  stdout = prefixed;
}

void ProtocolLine(const char* format, ...) {
  char line[8192];
  va_list args;
  va_start(args, format);
  int length = vsnprintf(line, sizeof line - 1, format, args);
  va_end(args);
  if (length < 0) return;
  if (length > (int)sizeof line - 2) length = (int)sizeof line - 2;
  line[length] = '\n';
  line[length + 1] = 0;
  WriteAll(line, (size_t)length + 1);
  Output(OUT_LOG, "%s", line);
}
