#pragma once

class QString;

namespace marvane {

// Reads the command line: --help and --version print and end the program
// (status 0) before any window opens; anything else that is wrong is told on
// stderr and ends it with status 2. One argument may name a session file
// (marvane FILE.marvane): it is read and checked here, and a file that cannot
// be opened is told on stderr (status 2); a good one's path is put in
// `session`. Returns -1 when the program should go on. Runs before the
// application object exists, so that it needs no display.
int HandleCommandLine(int argc, char* argv[], QString* session);

}  // namespace marvane
