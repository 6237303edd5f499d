#pragma once
// Runs the built lexora-cli in a scratch folder and captures its exit status, stdout and
// stderr.

#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/scratch_dir.h"

namespace lexora::test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

class CliFolder {
 public:
  CliFolder() : dir_("lexora-cli"), path_(dir_.path()) {}
  std::string file(const std::string& name) const { return dir_.file(name); }
  void write(const std::string& name, const std::string& bytes) const { dir_.write(name, bytes); }
  std::string read(const std::string& name) const { return dir_.read(name); }

  // Runs lexora-cli with `args` (each passed as one word) in this folder, stdin from `input`.
  CliResult run(const std::vector<std::string>& args, const std::string& input = "") const {
    write(".stdin", input);
    std::string command = "cd " + quote(path_) + " && " + quote(LEXORA_CLI_PATH);
    for (const std::string& a : args) command += " " + quote(a);
    command += " <.stdin >.stdout 2>.stderr";
    const int raw = std::system(command.c_str());
    CliResult r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = read(".stdout");
    r.err = read(".stderr");
    return r;
  }

  // The same with stdout and stderr on a terminal (its output as written, no colours).
  CliResult runOnTerminal(const std::vector<std::string>& args) const {
    termios raw{};
    cfmakeraw(&raw);
    int master = -1;
    const pid_t child = forkpty(&master, nullptr, &raw, nullptr);
    if (child == 0) {
      std::vector<std::string> words{LEXORA_CLI_PATH};
      words.insert(words.end(), args.begin(), args.end());
      std::vector<char*> argv;
      for (std::string& w : words) argv.push_back(w.data());
      argv.push_back(nullptr);
      setenv("NO_COLOR", "1", 1);
      if (chdir(path_.c_str()) == 0) execv(LEXORA_CLI_PATH, argv.data());
      _exit(127);
    }
    CliResult r;
    if (child < 0) return r;
    char buffer[4096];
    for (ssize_t n; (n = ::read(master, buffer, sizeof buffer)) > 0;) r.out.append(buffer, n);
    int raw_status = 0;
    waitpid(child, &raw_status, 0);
    close(master);
    r.status = WIFEXITED(raw_status) ? WEXITSTATUS(raw_status) : -1;
    return r;
  }

 private:
  static std::string quote(const std::string& word) {
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
  }

  ScratchDir dir_;
  std::string path_;
};

}  // namespace lexora::test
