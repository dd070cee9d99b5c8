// Standard-input polling, the ring of queued command lines and the clock.
//
// Standard input is read with read() into the engine's own buffer and split
// into lines here: bytes held in a stdio buffer would be invisible to poll(),
// and the search must see every waiting line.
#include "driver/input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <unistd.h>

#include "driver/commands.h"
#include "search/timectl.h"

// Lines are at most this many characters; a longer one is split.
constexpr int MAX_LINE_CHARS = INPUT_LINE_SIZE - 1;

static char inputRing[INPUT_RING_SLOTS][INPUT_LINE_SIZE];
static int ringWrite = 0;
static int ringRead = 0;

// Bytes read from descriptor 0 and not yet handed out as lines. While the
// ring is full, lines wait here (and then in the pipe).
static char inBuffer[64 * INPUT_LINE_SIZE];
static int inStart = 0;
static int inEnd = 0;
// End of the part of the buffer already looked through for urgent lines
// (at least inStart).
static int scannedEnd = 0;
static int inputEnded = 0;   // read() reported end of input or an error
static int inputFailed = 0;  // ... and it was an error

int RingIsEmpty() { return ringWrite == ringRead; }

int RingIsFull() { return (ringWrite + 1) % INPUT_RING_SLOTS == ringRead; }

void AddToRing(const char* line) {
  if (RingIsFull()) {
    // The readers leave lines in the input buffer while the ring is full,
    // so this is not reached from them; a line refused here is named.
    printf("# Error: Command buffer overflow; line refused: %.*s\n", (int)strcspn(line, "\r\n"), line);
    return;
  }
  char* slot = inputRing[ringWrite];
  strncpy(slot, line, INPUT_LINE_SIZE - 1);
  slot[INPUT_LINE_SIZE - 1] = 0;
  ringWrite = (ringWrite + 1) % INPUT_RING_SLOTS;
}

int TakeFromRing(char* buffer) {
  if (RingIsEmpty()) return 0;
  memcpy(buffer, inputRing[ringRead], INPUT_LINE_SIZE);
  ringRead = (ringRead + 1) % INPUT_RING_SLOTS;
  return 1;
}

void PutBackLine() { ringRead = (ringRead + INPUT_RING_SLOTS - 1) % INPUT_RING_SLOTS; }

void ResetRing() { ringWrite = ringRead = 0; }

void ResetInput() {
  ResetRing();
  inStart = inEnd = scannedEnd = 0;
  inputEnded = inputFailed = 0;
}

// Length of the next line in the buffer (through its newline, or the first
// MAX_LINE_CHARS characters of a longer one, or the unterminated rest once
// input has ended); 0 when no whole line is buffered yet.
static int BufferedLineLength() {
  int count = inEnd - inStart;
  int limit = count < MAX_LINE_CHARS ? count : MAX_LINE_CHARS;
  const char* newline = (const char*)memchr(inBuffer + inStart, '\n', limit);
  if (newline != nullptr) return (int)(newline - (inBuffer + inStart)) + 1;
  if (count >= MAX_LINE_CHARS) return MAX_LINE_CHARS;
  if (inputEnded) return count;
  return 0;
}

// One read() from descriptor 0 into the free part of the buffer. Blocks when
// nothing is waiting. Returns the number of bytes read, 0 at end of input or
// after an error (both end the input for good).
static int ReadOnce() {
  if (inputEnded) return 0;
  if (inStart > 0) {
    memmove(inBuffer, inBuffer + inStart, inEnd - inStart);
    inEnd -= inStart;
    scannedEnd -= inStart;
    inStart = 0;
  }
  for (;;) {
    ssize_t got = read(0, inBuffer + inEnd, sizeof(inBuffer) - inEnd);
    if (got > 0) {
      inEnd += (int)got;
      return (int)got;
    }
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno == EAGAIN) {
      // A non-blocking descriptor inherited from the parent: wait for it.
      struct pollfd p = {0, POLLIN, 0};
      poll(&p, 1, -1);
      continue;
    }
    inputEnded = 1;
    if (got < 0) inputFailed = 1;
    return 0;
  }
}

int InputAvailable() {
  int count = inEnd - inStart;
  if (BufferedLineLength() > 0) return count > 0 ? count : 1;
  if (inputEnded) return 1;
  struct pollfd p = {0, POLLIN, 0};
  int ready = poll(&p, 1, 0);
  if (ready < 0) return errno == EINTR ? 0 : 1;  // a failed query counts as readable
  return ready > 0 ? 1 : 0;
}

int ReadInputLine(char* buffer) {
  int length;
  while ((length = BufferedLineLength()) == 0) {
    if (inputEnded) return 0;
    ReadOnce();
  }
  memcpy(buffer, inBuffer + inStart, length);
  buffer[length] = 0;
  inStart += length;
  if (scannedEnd < inStart) scannedEnd = inStart;
  // A CR before the newline belongs to the line end.
  if (length >= 2 && buffer[length - 2] == '\r' && buffer[length - 1] == '\n') {
    buffer[length - 2] = '\n';
    buffer[length - 1] = 0;
  }
  return 1;
}

int PollInputLine(char* buffer) {
  while (BufferedLineLength() == 0) {
    if (inputEnded) return -1;
    struct pollfd p = {0, POLLIN, 0};
    if (poll(&p, 1, 0) <= 0) return 0;
    ReadOnce();
  }
  return ReadInputLine(buffer);
}

// End of input (or a failed read) ends the engine as "quit" does.
static void InputEnded() {
  endSearch = 3;
  quitFlag = 1;
}

void WaitForCommand() {
  char line[INPUT_LINE_SIZE];
  if (ReadInputLine(line))
    AddToRing(line);
  else
    InputEnded();
}

// While the ring is full (behind a line that was put back) the lines wait
// in the input buffer, so none is lost; the urgent ones among them act now.
// One that has done all its work there ("?", "quit") is blanked out so it
// does not act again when its turn comes.
static void LookAheadForUrgentLines() {
  struct pollfd p = {0, POLLIN, 0};
  if (!inputEnded && inEnd - inStart < (int)sizeof(inBuffer) && poll(&p, 1, 0) > 0) ReadOnce();
  int at = scannedEnd > inStart ? scannedEnd : inStart;
  for (;;) {
    int count = inEnd - at;
    int limit = count < MAX_LINE_CHARS ? count : MAX_LINE_CHARS;
    const char* newline = (const char*)memchr(inBuffer + at, '\n', limit);
    int length = newline ? (int)(newline - (inBuffer + at)) + 1 : count >= MAX_LINE_CHARS ? MAX_LINE_CHARS : 0;
    if (length == 0) break;
    char line[INPUT_LINE_SIZE];
    memcpy(line, inBuffer + at, length);
    line[length] = 0;
    if (TakeUrgentEffect(line, 0) == 2) memset(inBuffer + at, ' ', newline ? length - 1 : length);
    at += length;
    scannedEnd = at;
  }
  // The end of input ends the engine like "quit", however much waits.
  if (inputEnded) InputEnded();
}

void ReadInput() {
  char line[INPUT_LINE_SIZE];
  while (InputAvailable()) {
    if (RingIsFull()) {
      LookAheadForUrgentLines();
      break;
    }
    if (BufferedLineLength() == 0 && ReadOnce() > 0) continue;  // part of a line only
    const bool lookedAt = inStart < scannedEnd;
    if (!ReadInputLine(line)) {
      if (inputFailed) printf("Error! Error with ReadInput\n");
      InputEnded();
      break;
    }
    // An urgent line acts before the lines queued ahead of it.
    if (!lookedAt && TakeUrgentEffect(line, 1) == 2) continue;
    AddToRing(line);
    InterpretCommand();
  }
  if (!RingIsEmpty()) InterpretCommand();

  CheckStopTimes();
}
