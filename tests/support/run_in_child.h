#pragma once
// Running a piece of a test in a child process, which may lower its own limits (file size,
// memory) or give up its user's rights without touching the test's process.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace lexora::test {

// Runs `body` in a child process and returns what it returned ("child failed" when the child
// did not finish).
inline std::string runInChild(const std::function<std::string()>& body) {
  int pipeEnds[2];
  if (::pipe(pipeEnds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(pipeEnds[0]);
    const std::string out = body();
    const bool written =
        ::write(pipeEnds[1], out.data(), out.size()) == static_cast<ssize_t>(out.size());
    ::_exit(written ? 0 : 3);
  }
  ::close(pipeEnds[1]);
  std::string out;
  char buffer[256];
  ssize_t n;
  while ((n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0)
    out.append(buffer, static_cast<size_t>(n));
  ::close(pipeEnds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "child failed";
  return out;
}

// Lowers the limit of this process's `resource` (RLIMIT_FSIZE: a full disk, even for root;
// RLIMIT_AS: running out of memory). False when it cannot.
inline bool limitTo(decltype(RLIMIT_AS) resource, rlim_t most) {
  const rlimit cap{most, most};
  return ::setrlimit(resource, &cap) == 0;
}

}  // namespace lexora::test
