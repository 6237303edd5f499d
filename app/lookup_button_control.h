#pragma once
// Starting and stopping the lookup button program (lexora-util) from the main program.

#include <string>

#include "platform/program_launcher.h"

namespace lexora {

// The lookup button program's file, in the main program's own folder.
inline constexpr const char* kLookupButtonProgram = "lexora-util";

// run: starts `programFolder` + "lexora-util" (no check whether it already runs: it keeps
// itself to one instance). Not run: sends the stop message to the button window, found as the
// top-level window "LookupClass"/"Lookup" or else as the taskbar's child titled "Lookup".
// Failures are not reported.
void setLookupButtonRunning(bool run, ProgramLauncher& launcher, const std::string& programFolder);

}  // namespace lexora
