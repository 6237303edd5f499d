#pragma once
// Starts a program by its path, with no arguments, and does not wait for it.

#include <string>

namespace lexora {

class ProgramLauncher {
 public:
  virtual ~ProgramLauncher() = default;
  // False when the program could not be started.
  virtual bool startProgram(const std::string& path) = 0;
};

}  // namespace lexora
