#include "cli/command_support.h"

#include <iostream>
#include <iterator>

#include "cli/arguments.h"
#include "engine/dictionary.h"
#include "util/standard_utf8.h"

namespace lexora::cli {

std::string counted(uint64_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

int usageError(CommandIo& io, const char* usage, const std::string& why) {
  io.err << "lexora-cli: " << why << "\nusage: lexora-cli " << usage << "\n";
  return kExitUsage;
}

int failure(CommandIo& io, const std::string& file, const std::string& reason) {
  io.err << "lexora-cli: " << file << ": " << reason << "\n";
  return kExitFailed;
}

int reportEdit(CommandIo& io, const std::string& file, const char* command,
               const EditStatus& status) {
  const char* name = editResultName(status.editResult());
  io.out << name << "\n";
  if (status.isOk()) return kExitOk;
  return failure(io, file, std::string(command) + ": " + name + " (" + status.message() + ")");
}

bool openOrReport(Dictionary& dictionary, const std::string& dataFile, CommandIo& io) {
  const Status s = dictionary.openDictionary(dataFile);
  if (s.isOk()) {
    if (const std::string notice = dictionary.openNotice(); !notice.empty()) {
      io.err << "lexora-cli: " << notice << "\n";
    }
    return true;
  }
  failure(io, dataFile, s.message());
  return false;
}

bool openAtEntryOrReport(Dictionary& dictionary, const std::string& dataFile, uint32_t index,
                         CommandIo& io) {
  if (!openOrReport(dictionary, dataFile, io)) return false;
  if (index < dictionary.wordCount()) return true;
  failure(io, dataFile,
          "no entry " + std::to_string(index) + " (the dictionary has " +
              std::to_string(dictionary.wordCount()) + ")");
  return false;
}

std::optional<DataCommand> openDataCommand(const std::vector<std::string>& args, const char* usage,
                                           size_t minWords, size_t maxWords, Dictionary& dictionary,
                                           CommandIo& io, int& exitCode) {
  std::string why;
  auto parsed = parseArguments(args, {}, minWords, maxWords, why);
  if (!parsed) {
    exitCode = usageError(io, usage, why);
    return std::nullopt;
  }
  DataCommand command{parsed->positional[0], std::move(parsed->positional)};
  if (!openOrReport(dictionary, command.file, io)) {
    exitCode = kExitFailed;
    return std::nullopt;
  }
  return command;
}

std::optional<EntryCommand> openEntryCommand(const std::vector<std::string>& args,
                                             const char* usage, size_t minWords, size_t maxWords,
                                             Dictionary& dictionary, CommandIo& io, int& exitCode) {
  std::string why;
  const auto parsed = parseArguments(args, {}, minWords, maxWords, why);
  if (!parsed) {
    exitCode = usageError(io, usage, why);
    return std::nullopt;
  }
  const auto index = parseUnsigned(parsed->positional[1]);
  if (!index) {
    exitCode = usageError(io, usage, "INDEX must be a number");
    return std::nullopt;
  }
  EntryCommand command{parsed->positional[0], *index, parsed->positional};
  if (!openAtEntryOrReport(dictionary, command.file, command.index, io)) {
    exitCode = kExitFailed;
    return std::nullopt;
  }
  return command;
}

int runSetHeaderText(const std::vector<std::string>& args, const char* usage,
                     Status (Dictionary::*store)(std::u16string_view), CommandIo& io) {
  Dictionary d;
  int exitCode = kExitOk;
  const auto command = openDataCommand(args, usage, 2, 2, d, io, exitCode);
  if (!command) return exitCode;
  const std::u16string text = fromUtf8(command->positional[1]);
  if (const Status s = (d.*store)(text); !s.isOk()) return failure(io, command->file, s.message());
  return kExitOk;
}

std::string readAll(std::istream& in) {
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string textArgumentOrStdin(const std::vector<std::string>& positional, size_t at,
                                CommandIo& io) {
  if (at < positional.size() && positional[at] != "-") return positional[at];
  return readAll(io.in);
}

int refuseNul(std::string_view meaning, const std::string& file, CommandIo& io) {
  const size_t at = meaning.find('\0');
  if (at == std::string_view::npos) return kExitOk;
  return failure(io, file,
                 "the meaning holds a NUL character (byte " + std::to_string(at + 1) +
                     "), which a dictionary cannot keep: nothing was changed");
}

}  // namespace lexora::cli
