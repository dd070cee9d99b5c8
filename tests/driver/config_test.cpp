#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <ctime>
#include <string>

#include "capture.h"
#include "base/output.h"
#include "base/words.h"
#include "driver/config.h"
#include "base/state.h"
#include "search/engine.h"
#include "process.h"
#include "search/hash.h"

TEST(ToInt, ReadsASignAndLeadingDigits) {
  struct Case {
    const char* text;
    int value;
  };
  const Case cases[] = {
      {"42", 42},       {"-5", -5},     {"+7", 7},
      {"0:30", 0},      {"12abc", 12},  {"", 0},
      {"abc", 0},       {"-", 0},       {"2147483647", INT_MAX},
      {"99999999999999", INT_MAX},      {"-2147483648", INT_MIN},
      {"-99999999999999", INT_MIN},
  };
  for (const Case& c : cases) EXPECT_EQ(ToInt(c.text), c.value) << '"' << c.text << '"';
}

TEST(NextWord, SkipsBlanksAndCutsLongWords) {
  char word[6];
  const char* rest = NextWord("  \tlevel 40 5", word, sizeof(word));
  EXPECT_STREQ(word, "level");
  rest = NextWord(rest, word, sizeof(word));
  EXPECT_STREQ(word, "40");
  rest = NextWord("abcdefghij next", word, sizeof(word));
  EXPECT_STREQ(word, "abcde");
  EXPECT_STREQ(rest, " next");
  NextWord("   \r\n", word, sizeof(word));
  EXPECT_STREQ(word, "");
}

// Runs ReadConfig on the given file text in a fresh directory, from the
// start-up defaults.
static std::string RunConfig(const char* text, int* result = nullptr) {
  TempDir dir;
  char saved[4096];
  EXPECT_NE(getcwd(saved, sizeof(saved)), nullptr);
  EXPECT_EQ(chdir(dir.path.c_str()), 0);
  if (text != nullptr) WriteTextFile("Quorvel.rc", text);
  hashEntries = DEFAULT_HASH_ENTRIES;
  kibitzMode = 0;
  resignThreshold = 0;
  bookName[0] = 0;
  int status = -1;
  std::string output = CaptureOutput([&] { status = ReadConfig(); });
  if (result != nullptr) *result = status;
  EXPECT_EQ(chdir(saved), 0);
  return output;
}

TEST(ReadConfig, AppliesEachKeyword) {
  struct Case {
    const char* text;
    uint32_t hashEntries;
    int kibitzMode, resignThreshold;
    const char* output;
  };
  const uint32_t dflt = DEFAULT_HASH_ENTRIES;
  const Case cases[] = {
      {"hash 24\n", 1000000, 0, 0, ""},
      {"hash 1\n", 41666, 0, 0, ""},
      {"hash 4294\n", 178916666, 0, 0, ""},
      {"hash 0\n", dflt, 0, 0, "Error (hash size must be 1 to 4294 MB): 0\n"},
      {"hash 4295\n", dflt, 0, 0, "Error (hash size must be 1 to 4294 MB): 4295\n"},
      {"hash -8\n", dflt, 0, 0, "Error (hash size must be 1 to 4294 MB): -8\n"},
      {"hash\n", dflt, 0, 0, "Error (hash size must be 1 to 4294 MB): \n"},
      {"resign 250\n", dflt, 0, 250, "# Resign Threshold set to 250\n"},
      {"resign -5\n", dflt, 0, 1000,
       "# Resign Threshold set to -5\nInvalid resign threshold.  Default 1000 set.\n"},
      {"kibitz off\n", dflt, 1, 0, "tellics kibitz kibitz is on.\n"},
      // Comments, empty and blank lines are silent; CR-LF line ends; an
      // unknown keyword does not stop the reading; no final newline.
      {"# hash 2\n\n\r\n   \nponder on\r\nhash 24\r\nresign 7", 1000000, 0, 7,
       "Error (unknown RC command): ponder\n# Resign Threshold set to 7\n"},
  };
  for (const Case& c : cases) {
    int result = -1;
    std::string output = RunConfig(c.text, &result);
    EXPECT_EQ(result, 0) << c.text;
    EXPECT_EQ(output, c.output) << c.text;
    EXPECT_EQ(hashEntries, c.hashEntries) << c.text;
    EXPECT_EQ(kibitzMode, c.kibitzMode) << c.text;
    EXPECT_EQ(resignThreshold, c.resignThreshold) << c.text;
  }
}

TEST(ReadConfig, BookNameIsKeptAndCutToItsField) {
  EXPECT_EQ(RunConfig("book openings.txt\r\n"), "");
  EXPECT_STREQ(bookName, "openings.txt");
  std::string longName = "book " + std::string(200, 'n') + "\n";
  EXPECT_EQ(RunConfig(longName.c_str()), "");
  EXPECT_EQ(std::string(bookName), std::string(BOOK_NAME_SIZE - 1, 'n'));
}

TEST(ReadConfig, OverLongLineCountsOnce) {
  // The 255 characters kept hold the keyword; the rest of the line must not
  // come back as a line of its own.
  std::string text = "resign 12" + std::string(400, ' ') + "hash 1\nkibitz x\n";
  EXPECT_EQ(RunConfig(text.c_str()), "# Resign Threshold set to 12\ntellics kibitz kibitz is on.\n");
  EXPECT_EQ(hashEntries, DEFAULT_HASH_ENTRIES);
}

TEST(ReadConfig, MissingFileIsReported) {
  int result = -1;
  EXPECT_EQ(RunConfig(nullptr, &result), "Cannot open RC file.\n");
  EXPECT_EQ(result, 1);
  EXPECT_EQ(hashEntries, DEFAULT_HASH_ENTRIES);
}

TEST(Output, WritesEachDestinationOfTheMaskAndFlushesTheFiles) {
  TempDir dir;
  char saved[4096];
  ASSERT_NE(getcwd(saved, sizeof(saved)), nullptr);
  ASSERT_EQ(chdir(dir.path.c_str()), 0);
  ASSERT_EQ(CaptureOutput([] { EXPECT_EQ(OpenLog(), 0); }), "");
  epdLogFile = fopen("suite.ban", "w");
  ASSERT_NE(epdLogFile, nullptr);

  std::string console = CaptureOutput([] {
    Output(OUT_CONSOLE, "console %d\n", 1);
    Output(OUT_LOG, "log %s\n", "only");
    Output(OUT_CONSOLE | OUT_LOG, "both %.2f\n", 2.5);
    Output(OUT_CONSOLE | OUT_LOG | OUT_EPD, "all %d\n", 7);
  });
  EXPECT_EQ(console, "console 1\nboth 2.50\nall 7\n");
  // Read while the files are still open: every write is already on disk.
  std::vector<std::string> log = SplitLines(ReadTextFile("Quorvel.log"));
  ASSERT_EQ(log.size(), 4u);
  EXPECT_EQ(log[1], "log only");
  EXPECT_EQ(log[2], "both 2.50");
  EXPECT_EQ(log[3], "all 7");
  EXPECT_EQ(ReadTextFile("suite.ban"), "all 7\n");

  fclose(epdLogFile);
  epdLogFile = nullptr;
  CloseLog();
  EXPECT_EQ(logFile, nullptr);
  // Without open files only the console is written.
  EXPECT_EQ(CaptureOutput([] { Output(OUT_CONSOLE | OUT_LOG | OUT_EPD, "late\n"); }), "late\n");
  EXPECT_EQ(ReadTextFile("Quorvel.log").find("late"), std::string::npos);
  ASSERT_EQ(chdir(saved), 0);
}

TEST(OpenLog, ReportsALogThatCannotBeCreated) {
  TempDir dir;
  char saved[4096];
  ASSERT_NE(getcwd(saved, sizeof(saved)), nullptr);
  ASSERT_EQ(chdir(dir.path.c_str()), 0);
  mkdir("Quorvel.log", 0700);  // a directory where the file should go
  EXPECT_EQ(CaptureOutput([] { EXPECT_EQ(OpenLog(), 1); }), "Cannot create log file.\n");
  EXPECT_EQ(logFile, nullptr);
  ASSERT_EQ(chdir(saved), 0);
}
