#pragma once
// Starting and stopping the lookup button program (lexora-util) from the main program.

#include <cstdint>
#include <string>

#include "platform/program_launcher.h"

namespace lexora {

// The lookup button program's file, in the main program's own folder.
inline constexpr const char* kLookupButtonProgram = "lexora-util";

// run: starts `programFolder` + "lexora-util" (no check whether it already runs: it keeps
// itself to one instance). Not run: sends the stop message to the button window, found as the
// top-level window "LookupClass"/"Lookup" or else as the taskbar's child titled "Lookup".
// The stop message is posted without waiting for the answer, so that a button that does not
// answer never holds up the main program (it is closing). Failures are not reported.
void setLookupButtonRunning(bool run, ProgramLauncher& launcher, const std::string& programFolder);

// Start-up: the button runs while the main program runs, so a stored "ShowLookupButton" of 1
// starts it (the same start as the option's). Call it once the main window can be found, or
// the button would start a second main program.
void startLookupButtonIfShown(uint32_t showLookupButton, ProgramLauncher& launcher,
                              const std::string& programFolder);

}  // namespace lexora
