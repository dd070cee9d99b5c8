// The configuration file Quorvel.rc.
#include "driver/config.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "base/state.h"
#include "base/words.h"
#include "search/hash.h"

constexpr int RC_LINE_SIZE = 256;  // 255 characters and the terminator
constexpr int RC_WORD_SIZE = 64;

// Removes the line end (LF or CR-LF, or a lone CR) from a line.
static void StripLineEnd(char* line) {
  size_t length = strlen(line);
  while (length > 0 && (line[length - 1] == '\n' || line[length - 1] == '\r')) line[--length] = 0;
}

void ApplySetting(const char* keyword, const char* value) {
  if (strcmp(keyword, "book") == 0) {
    if (value[0] == 0) return;
    // Names longer than the field are cut to fit.
    strncpy(bookName, value, sizeof(bookName) - 1);
    bookName[sizeof(bookName) - 1] = 0;
  } else if (strcmp(keyword, "hash") == 0) {
    int megabytes = ToInt(value);
    if (megabytes < 1 || megabytes > HASH_MEGABYTES_MAX) {
      printf("Error (hash size must be 1 to %d MB): %s\n", HASH_MEGABYTES_MAX, value);
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

static void ApplyConfigLine(const char* line) {
  char keyword[RC_WORD_SIZE];
  char value[RC_LINE_SIZE];
  const char* rest = NextWord(line, keyword, sizeof(keyword));
  NextWord(rest, value, sizeof(value));
  if (keyword[0] == 0) return;  // a line of blanks
  ApplySetting(keyword, value);
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

