// The log file and the output routine.
#include "base/output.h"

#include <cstdarg>
#include <cstdio>
#include <ctime>

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
