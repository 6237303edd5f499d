#pragma once
// Starts programs detached from this one: they outlive it and are never waited for. The two
// Lexora programs start each other through it, and each start is marked, so that a program
// started by the other never starts the other back: one start, never a chain of them.

#include "platform/program_launcher.h"

namespace lexora {

class DetachedLauncher : public ProgramLauncher {
 public:
  bool startProgram(const std::string& path) override;
};

// True when the other Lexora program started this one. The mark is read at the first call
// and then taken out of the environment, so that nothing this program starts inherits it.
bool startedByOtherProgram();

}  // namespace lexora
