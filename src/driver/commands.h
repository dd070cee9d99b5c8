// The command interpreter: protocol and game commands.
// Front end: may use every layer.
#pragma once

// Executes (or puts back) the oldest line of the input ring. 0 when the
// ring is empty, else 1.
int InterpretCommand();

// The commands that must act as soon as a search reads them, however many
// lines wait before them: "?", "stop", "force" and "quit" stop the search
// at once, and "quit" ends the engine's runs. Returns 0 for any other line,
// 1 when the line must still be queued for the rest of its work ("force",
// and "quit" for its reply in its turn), 2 when it has done all of it.
// queueable is 0 when the line cannot be queued now (the ring is full):
// then "quit" does all its work at once.
int TakeUrgentEffect(const char* line, int queueable);
