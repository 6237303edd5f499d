#pragma once
// The desktop ends a program with SIGTERM (logout, shutdown, `kill`), SIGHUP (its terminal
// went away) or SIGINT (Ctrl+C). Left to their default action these end the process at once
// and whatever it would do at exit is lost. quitOnTerminationSignals turns them into an
// orderly QCoreApplication::quit(), so the event loop returns and the program's exit steps
// run. The handler only writes to a pipe; the quit happens on the GUI thread.

namespace lexora {

// Call once, after the application object exists. False when the pipe or the handlers could
// not be set up (the signals keep their default action).
bool quitOnTerminationSignals();

}  // namespace lexora
