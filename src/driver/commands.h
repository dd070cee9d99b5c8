// The command interpreter: protocol and game commands.
// Front end: may use every layer.
#pragma once

// Executes (or puts back) the oldest line of the input ring. 0 when the
// ring is empty, else 1.
int InterpretCommand();
