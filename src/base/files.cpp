// Checks on the files that console commands read and write.
#include "base/files.h"

#include <sys/stat.h>

#include <cerrno>

int RegularFileStatus(const char* name) {
  struct stat info;
  if (stat(name, &info) != 0) return 0;
  return S_ISREG(info.st_mode) ? 1 : -1;
}

int IsWritableName(const char* name) {
  struct stat info;
  if (stat(name, &info) != 0) return errno == ENOENT ? 1 : 0;
  return S_ISREG(info.st_mode) ? 1 : 0;
}

int CloseWrittenFile(FILE* file, const char* name) {
  const bool failed = ferror(file) != 0;
  const bool closeFailed = fclose(file) != 0;
  if (failed || closeFailed) {
    printf("Error: writing %s failed.\n", name);
    return 0;
  }
  return 1;
}
