#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "base/clock.h"
#include "capture.h"
#include "base/state.h"
#include "search/engine.h"
#include "driver/input.h"

// prefix, number, newline (built with snprintf: g++ 12 warns falsely on
// chains of string additions).
static std::string Numbered(const char* prefix, int number) {
  char text[32];
  snprintf(text, sizeof(text), "%s%d\n", prefix, number);
  return text;
}

static std::string Take() {
  char line[INPUT_LINE_SIZE];
  if (!TakeFromRing(line)) return "<empty>";
  return line;
}

// Puts a pipe on descriptor 0 for one test and restores the old one after.
struct StdinPipe {
  int savedStdin = -1;
  int writeEnd = -1;
  StdinPipe() {
    int ends[2];
    if (pipe(ends) != 0) return;
    savedStdin = dup(0);
    dup2(ends[0], 0);
    close(ends[0]);
    writeEnd = ends[1];
  }
  ~StdinPipe() {
    CloseWriteEnd();
    dup2(savedStdin, 0);
    close(savedStdin);
  }
  void Write(const std::string& text) { ASSERT_EQ(write(writeEnd, text.data(), text.size()), (ssize_t)text.size()); }
  void CloseWriteEnd() {
    if (writeEnd >= 0) close(writeEnd);
    writeEnd = -1;
  }
};

TEST(InputRing, TakesLinesInOrderAcrossTheWrapAndRepeatsAPutBackLine) {
  ResetRing();
  EXPECT_TRUE(RingIsEmpty());
  EXPECT_EQ(Take(), "<empty>");
  // 50 lines through 20 slots, putting back every seventh line once, also
  // when the read index has just wrapped to 0.
  int next = 0;
  for (int i = 0; i < 50; i++) {
    AddToRing(Numbered("line ", i).c_str());
    if (i % 3 == 2) {
      while (!RingIsEmpty()) {
        std::string expected = Numbered("line ", next);
        ASSERT_EQ(Take(), expected);
        if (next % 7 == 0) {
          PutBackLine();
          ASSERT_EQ(Take(), expected);
        }
        next++;
      }
    }
  }
  while (!RingIsEmpty()) ASSERT_EQ(Take(), Numbered("line ", next++));
  EXPECT_EQ(next, 50);
}

TEST(InputRing, HoldsNineteenLinesSilentlyAndNamesARefusedOne) {
  ResetRing();
  // Start off slot 0 so the full ring wraps.
  for (int i = 0; i < 5; i++) AddToRing("x\n");
  for (int i = 0; i < 5; i++) Take();

  std::string output = CaptureOutput([] {
    for (int i = 0; i < 19; i++) AddToRing(Numbered("q", i).c_str());
  });
  EXPECT_EQ(output, "");
  EXPECT_TRUE(RingIsFull());
  // A further add is refused instead of wiping the queue, and says so.
  output = CaptureOutput([] { AddToRing("q19\n"); });
  EXPECT_EQ(output, "# Error: Command buffer overflow; line refused: q19\n");

  for (int i = 0; i < 19; i++) EXPECT_EQ(Take(), Numbered("q", i));
  EXPECT_TRUE(RingIsEmpty());
}

TEST(InputRing, OverLongLineIsCutToTheSlot) {
  ResetRing();
  std::string longLine(2000, 'z');
  AddToRing(longLine.c_str());
  EXPECT_EQ(Take(), std::string(INPUT_LINE_SIZE - 1, 'z'));
}

// The engine's state in its own search, with thresholds far away, as the
// poll sees it.
static void EnterSearch() {
  ResetInput();
  inSearch = 1;
  inPonder = 0;
  endSearch = 0;
  quitFlag = 0;
  stopTimeA = stopTimeB = stopTimeC = 1000;
  searchStartTime = ReadClock();
}

static void LeaveSearch() {
  inSearch = 0;
  endSearch = 0;
  quitFlag = 0;
  ResetInput();
}

// Behind a full ring (a put-back "ping" at its head and 18 lines) the
// lines wait in the input buffer; the urgent ones among them act at once,
// and every other line keeps its turn.
TEST(ReadInput, UrgentLinesActBehindAFullRingAndNothingIsLost) {
  struct Case {
    const char* waiting;   // lines arriving behind the full ring
    int endSearch, quit;   // what the poll leaves
    const char* output;    // what it prints
    const char* readLater; // the lines read once the ring has room
  };
  const Case cases[] = {
      {"p1\np2\n", 0, 0, "", "p1\n|p2\n|"},
      {"p1\n?\np2\n", 3, 0, "", "p1\n| \n|p2\n|"},
      {"stop\n", 3, 0, "", "    \n|"},
      {"p1\nforce\n", 3, 0, "", "p1\n|force\n|"},
      {"p1\nquit\n", 3, 1, "Received quit. Need to exit game.\n", "p1\n|    \n|"},
  };
  for (const Case& c : cases) {
    StdinPipe input;
    EnterSearch();
    AddToRing("ping 7\n");
    for (int i = 1; i < 19; i++) AddToRing(Numbered("c", i).c_str());
    ASSERT_TRUE(RingIsFull());
    input.Write(c.waiting);

    // Twice: a line already looked at does not act again.
    EXPECT_EQ(CaptureOutput([] { ReadInput(); }), c.output) << c.waiting;
    EXPECT_EQ(CaptureOutput([] { ReadInput(); }), "") << c.waiting;
    EXPECT_EQ(endSearch, c.endSearch) << c.waiting;
    EXPECT_EQ(quitFlag, c.quit) << c.waiting;
    EXPECT_EQ(Take(), "ping 7\n");
    for (int i = 1; i < 19; i++) EXPECT_EQ(Take(), Numbered("c", i));
    std::string later;
    char line[INPUT_LINE_SIZE];
    while (InputAvailable() && ReadInputLine(line)) later += std::string(line) + "|";
    EXPECT_EQ(later, c.readLater) << c.waiting;
  }
  LeaveSearch();
}

// Not full, the ring holds the lines behind a put-back "ping" in order;
// an urgent one still acts at once, and "?" needs no turn of its own.
TEST(ReadInput, UrgentLinesActBehindAPutBackLine) {
  StdinPipe input;
  EnterSearch();
  input.Write("ping 1\nc1\n?\nc2\n");
  EXPECT_EQ(CaptureOutput([] { ReadInput(); }), "");
  EXPECT_EQ(endSearch, 3);
  EXPECT_EQ(Take(), "ping 1\n");
  EXPECT_EQ(Take(), "c1\n");
  EXPECT_EQ(Take(), "c2\n");
  EXPECT_TRUE(RingIsEmpty());
  LeaveSearch();
}

TEST(ReadInput, RaisesTheStopLevelFromTheElapsedTime) {
  StdinPipe input;  // open and empty: nothing to read
  ResetRing();
  struct Case {
    int inSearch, endSearchBefore;
    double a, b, c;
    int endSearchAfter;
  };
  // The search started 5 seconds ago.
  const Case cases[] = {
      {1, 0, 10, 10, 10, 0}, {1, 0, 1, 10, 10, 1}, {1, 0, 1, 2, 10, 2}, {1, 0, 1, 2, 3, 3},
      {1, 0, 1, 6, 3, 3},    {0, 0, 1, 2, 3, 0},   {1, 3, 10, 10, 10, 3},
  };
  for (const Case& c : cases) {
    inSearch = c.inSearch;
    endSearch = c.endSearchBefore;
    stopTimeA = c.a;
    stopTimeB = c.b;
    stopTimeC = c.c;
    searchStartTime = ReadClock() - 5.0;
    if (searchStartTime < 0) searchStartTime += 10000000.0;
    EXPECT_EQ(CaptureOutput([] { ReadInput(); }), "");
    EXPECT_EQ(endSearch, c.endSearchAfter) << "thresholds " << c.a << " " << c.b << " " << c.c;
  }
  inSearch = 0;
}

// One scenario over the life of standard input, since its end is final for
// the process (CTest runs every test in a process of its own).
TEST(ReadInput, SplitsStandardInputIntoLinesWithoutWaitingForAPartOfOne) {
  StdinPipe input;
  ResetRing();
  inSearch = 0;
  quitFlag = 0;
  endSearch = 0;

  // Part of a line: the poll must not wait for the rest.
  input.Write("xbo");
  EXPECT_EQ(CaptureOutput([] { ReadInput(); }), "");
  EXPECT_EQ(InputAvailable(), 0);
  input.Write("ard\r\nxboardx\n");
  EXPECT_NE(InputAvailable(), 0);
  EXPECT_EQ(CaptureOutput([] { ReadInput(); }),
            "# xboard mode activated\nError (unknown command): xboardx\n");
  EXPECT_TRUE(RingIsEmpty());

  // Lines of more than 511 characters come in pieces; CR-LF becomes LF; the
  // last line may lack its newline.
  input.Write(std::string(600, 'a') + "\nquit\r\nlast");
  input.CloseWriteEnd();
  char line[INPUT_LINE_SIZE];
  ASSERT_EQ(ReadInputLine(line), 1);
  EXPECT_EQ(std::string(line), std::string(511, 'a'));
  ASSERT_EQ(ReadInputLine(line), 1);
  EXPECT_EQ(std::string(line), std::string(89, 'a') + "\n");
  ASSERT_EQ(ReadInputLine(line), 1);
  EXPECT_EQ(std::string(line), "quit\n");
  ASSERT_EQ(ReadInputLine(line), 1);
  EXPECT_EQ(std::string(line), "last");

  // End of input counts as waiting and ends the engine like "quit", silently.
  EXPECT_NE(InputAvailable(), 0);
  EXPECT_EQ(ReadInputLine(line), 0);
  EXPECT_EQ(CaptureOutput([] { ReadInput(); }), "");
  EXPECT_EQ(quitFlag, 1);
  EXPECT_EQ(endSearch, 3);
  EXPECT_TRUE(RingIsEmpty());
  quitFlag = 0;
  endSearch = 0;
  WaitForCommand();
  EXPECT_EQ(quitFlag, 1);
  EXPECT_TRUE(RingIsEmpty());
}
