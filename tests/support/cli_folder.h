#pragma once
// Runs the built lexora-cli in a scratch folder and captures its exit status, stdout and
// stderr.

#include <sys/wait.h>
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
