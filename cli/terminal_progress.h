#pragma once
// A progress line for long imports: entries done, a bar and the time left, redrawn in place on
// stderr. Only drawn when stderr is a terminal, so that logs and pipes stay clean.

#include <chrono>
#include <cstdint>
#include <string>

namespace lexora::cli {

class TerminalProgress {
 public:
  explicit TerminalProgress(bool enabled);
  ~TerminalProgress();  // ends the line when one was drawn

  // Always true: a terminal import is stopped with Ctrl-C.
  bool update(uint64_t done, uint64_t total);

  // The line for `done` of `total` after `elapsed` seconds, without the leading CR.
  static std::string line(uint64_t done, uint64_t total, double elapsed);

 private:
  bool enabled_;
  bool drawn_ = false;
  std::chrono::steady_clock::time_point start_;
  std::chrono::steady_clock::time_point last_;
};

}  // namespace lexora::cli
