// The configuration file, the log file, the output routine and the
// reading of argument words.
#include "driver/config.h"

#include <cctype>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "driver/engine.h"
#include "search/hash.h"

constexpr int RC_LINE_SIZE = 256;  // 255 characters and the terminator
constexpr int RC_WORD_SIZE = 64;
constexpr int MAX_HASH_MEGABYTES = 4294;  // N * 1000000 must fit in 32 bits

int ToInt(const char* text) {
  while (isspace((unsigned char)*text)) text++;
  int sign = 1;
  if (*text == '+' || *text == '-') {
    if (*text == '-') sign = -1;
    text++;
  }
  long long value = 0;
  while (isdigit((unsigned char)*text)) {
    value = value * 10 + (*text - '0');
    if (value > (long long)INT_MAX + 1) value = (long long)INT_MAX + 1;  // clamp, never overflow
    text++;
  }
  value *= sign;
  if (value > INT_MAX) value = INT_MAX;
  return (int)value;
}

double ClampArgument(double value, double low, double high, const char* name) {
  double used = value;
  if (!(value >= low)) used = low;  // NaN counts as too low
  if (value > high) used = high;
  if (used != value) printf("# %s %.10g is out of range; %.10g used.\n", name, value, used);
  return used;
}

const char* NextWord(const char* text, char* word, int size) {
  while (isspace((unsigned char)*text)) text++;
  int length = 0;
  while (*text != 0 && !isspace((unsigned char)*text)) {
    if (length < size - 1) word[length++] = *text;
    text++;
  }
  word[length] = 0;
  return text;
}

// Removes the line end (LF or CR-LF, or a lone CR) from a line.
static void StripLineEnd(char* line) {
  size_t length = strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = 0;
}

static void ApplyConfigLine(const char* line) {
  char keyword[RC_WORD_SIZE];
  char value[RC_LINE_SIZE];
  const char* rest = NextWord(line, keyword, sizeof(keyword));
  NextWord(rest, value, sizeof(value));
  if (keyword[0] == 0) return;  // a line of blanks

  if (strcmp(keyword, "book") == 0) {
    if (value[0] == 0) return;
    // Names longer than the field are cut to fit.
    strncpy(bookName, value, sizeof(bookName) - 1);
    bookName[sizeof(bookName) - 1] = 0;
  } else if (strcmp(keyword, "hash") == 0) {
    int megabytes = ToInt(value);
    if (megabytes < 1 || megabytes > MAX_HASH_MEGABYTES) {
      printf("Error (hash size must be 1 to %d MB): %s\n", MAX_HASH_MEGABYTES, value);
      return;
    }
    hashEntries = (uint32_t)((uint64_t)megabytes * 1000000u / sizeof(HashEntry));
  } else if (strcmp(keyword, "kibitz") == 0) {
    kibitzMode = 1;
    printf("tellics kibitz kibitz is on.\n");
  } else if (strcmp(keyword, "resign") == 0) {
    resignThreshold = ToInt(value);
    printf("# Resign Threshold set to %d\n", resignThreshold);
    if (resignThreshold < 0) {
      printf("Invalid resign threshold.  Default 1000 set.\n");
      resignThreshold = 1000;
    }
  } else {
    printf("Error (unknown RC command): %s\n", keyword);
  }
}

int ReadConfig() {
  FILE* file = fopen("Quorvel.rc", "r");
  if (file == nullptr) {
    printf("Cannot open RC file.\n");
    return 1;
  }
  ReadConfigLines(file);
  fclose(file);
  return 0;
}

void ReadConfigLines(FILE* file) {
  char line[RC_LINE_SIZE];
  while (fgets(line, sizeof(line), file) != nullptr) {
    size_t length = strlen(line);
    if (length == sizeof(line) - 1 && line[length - 1] != '\n') {
      // Over-long line: its first 255 characters count, the rest is dropped.
      int c;
      while ((c = fgetc(file)) != EOF && c != '\n') {
      }
    }
    StripLineEnd(line);
    if (line[0] == '#' || line[0] == 0) continue;
    ApplyConfigLine(line);
  }
}

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
