// The main loop: play, ponder, or wait for and run the next command.
#pragma once

// Runs until "quit", "exit" or the end of standard input.
void MainLoop();
