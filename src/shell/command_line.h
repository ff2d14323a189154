#pragma once

namespace marvane {

// Reads the command line: --help and --version print and end the program
// (status 0) before any window opens; anything else is told on stderr and
// ends it with status 2. Returns -1 when the program should go on. Runs
// before the application object exists, so that it needs no display.
int HandleCommandLine(int argc, char* argv[]);

}  // namespace marvane
