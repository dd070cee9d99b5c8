// Standard-input polling and the queue of command lines: the front end's
// side of the input poll. Uses the base layer and the command interpreter.
#pragma once

constexpr int INPUT_RING_SLOTS = 20;
constexpr int INPUT_LINE_SIZE = 512;

// 0 when no input is waiting, otherwise a positive count.
int InputAvailable();

// Reads one line of at most 511 characters (and its newline) into buffer,
// blocking until it is complete. Returns 1 with a line, 0 at end of input.
int ReadInputLine(char* buffer);

// ReadInputLine without waiting: reads what standard input holds and hands
// out the next line (or piece of a longer one) as ReadInputLine does.
// Returns 1 with a line, 0 when no whole line is there yet, -1 at end of
// input.
int PollInputLine(char* buffer);

// The ring of command lines waiting for the interpreter.
int RingIsEmpty();
int RingIsFull();
// Queues a line; a line that finds the ring full is refused, with a message
// that names it.
void AddToRing(const char* line);
// Takes the oldest line into buffer (INPUT_LINE_SIZE bytes); 0 when empty.
int TakeFromRing(char* buffer);
// Puts the line just taken back at the head of the ring.
void PutBackLine();
void ResetRing();
// The ring and everything read from standard input dropped, as at start.
void ResetInput();

// Reads a line from standard input while idle and queues it; at end of
// input the engine is told to quit. Used by the main loop.
void WaitForCommand();
// The poll called from inside a search.
void ReadInput();
