#include "cli/terminal_progress.h"

#include <unistd.h>

#include <cstdio>

namespace lexora::cli {

TerminalProgress::TerminalProgress(bool enabled)
    : enabled_(enabled), start_(std::chrono::steady_clock::now()), last_(start_) {}

TerminalProgress::~TerminalProgress() {
  if (drawn_) std::fputs("\r\033[K", stderr);
}

std::string TerminalProgress::line(uint64_t done, uint64_t total, double elapsed) {
  constexpr int kWidth = 30;
  if (total == 0) return std::to_string(done) + " entries";
  if (done > total) done = total;
  std::string out = std::to_string(done);
  out += "/" + std::to_string(total) + " entries [";
  const int filled =
      static_cast<int>(static_cast<double>(done) / static_cast<double>(total) * kWidth);
  out += std::string(filled, '#') + std::string(kWidth - filled, '.') + "]";
  char tail[48];
  std::snprintf(tail, sizeof tail, " %3d%%", static_cast<int>(100.0 * done / total));
  out += tail;
  if (done > 0 && elapsed > 0.5) {
    const int left = static_cast<int>(
        elapsed * static_cast<double>(total - done) / static_cast<double>(done) + 0.5);
    std::snprintf(tail, sizeof tail, "  %d:%02d left", left / 60, left % 60);
    out += tail;
  }
  return out;
}

bool TerminalProgress::update(uint64_t done, uint64_t total) {
  if (!enabled_) return true;
  const auto now = std::chrono::steady_clock::now();
  if (drawn_ && now - last_ < std::chrono::milliseconds(100) && done < total) return true;
  last_ = now;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  std::fprintf(stderr, "\r%s\033[K", line(done, total, elapsed).c_str());
  std::fflush(stderr);
  drawn_ = true;
  return true;
}

}  // namespace lexora::cli
