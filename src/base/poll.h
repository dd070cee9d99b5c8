// The input poll of a running search. The search calls PollInput at
// its poll points; the front end installs what it does (read waiting
// lines, act on them, look at the clock). Uses nothing else.
#pragma once

// Installed by the front end at start-up; nullptr polls nothing.
extern void (*inputPoll)();

inline void PollInput() {
  if (inputPoll) inputPoll();
}
