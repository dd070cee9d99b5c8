// The UCI front end: the engine as a UCI GUI or match runner drives it,
// over the same engine interface as the xboard front end. Uses every layer
// below the front ends and the input reader of the driver.
#pragma once

// Answers "uci" and runs the UCI command loop until "quit" or the end of
// input. From here on every line on standard output is a UCI line: the
// engine's other output goes out as "info string ...".
void RunUci();
