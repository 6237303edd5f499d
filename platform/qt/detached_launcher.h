#pragma once
// Starts programs detached from this one: they outlive it and are never waited for.

#include "platform/program_launcher.h"

namespace lexora {

class DetachedLauncher : public ProgramLauncher {
 public:
  bool startProgram(const std::string& path) override;
};

}  // namespace lexora
