#pragma once
// Small helpers every command uses: the two kinds of error message, opening a dictionary with a
// reason on failure, and meaning text given as an argument or on stdin.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "engine/edit_status.h"
#include "util/status.h"

namespace lexora {
class Dictionary;
}

namespace lexora::cli {

// Prints "lexora-cli: WHY" and "usage: lexora-cli USAGE" on stderr; returns kExitUsage.
int usageError(CommandIo& io, const char* usage, const std::string& why);

// "1 entry", "2 entries": the count and the noun that fits it.
std::string counted(uint64_t count, const char* one, const char* many);

// Prints "lexora-cli: FILE: REASON" on stderr; returns kExitFailed.
int failure(CommandIo& io, const std::string& file, const std::string& reason);

// An entry change's outcome: its name ("Ok", "WordExists", ...) on stdout for scripts, and on
// failure "lexora-cli: FILE: COMMAND: NAME (why)" on stderr. Returns kExitOk or kExitFailed.
int reportEdit(CommandIo& io, const std::string& file, const char* command,
               const EditStatus& status);

// Opens `dictionary` from its data file; on failure prints the reason and returns false.
bool openOrReport(Dictionary& dictionary, const std::string& dataFile, CommandIo& io);

// Opens `dictionary` and checks that `index` names one of its entries; on failure prints the
// reason and returns false.
bool openAtEntryOrReport(Dictionary& dictionary, const std::string& dataFile, uint32_t index,
                         CommandIo& io);

// A command on one dictionary: DATA, then what follows (minWords and maxWords count all
// positional words). Parses the words and opens `dictionary`; on failure reports it, sets
// exitCode (kExitUsage or kExitFailed) and returns nullopt.
struct DataCommand {
  std::string file;
  std::vector<std::string> positional;
};
std::optional<DataCommand> openDataCommand(const std::vector<std::string>& args, const char* usage,
                                           size_t minWords, size_t maxWords, Dictionary& dictionary,
                                           CommandIo& io, int& exitCode);

// A command on one entry: DATA INDEX, then what follows; as openDataCommand, and the dictionary
// must hold entry INDEX.
struct EntryCommand {
  std::string file;
  uint32_t index = 0;
  std::vector<std::string> positional;
};
std::optional<EntryCommand> openEntryCommand(const std::vector<std::string>& args,
                                             const char* usage, size_t minWords, size_t maxWords,
                                             Dictionary& dictionary, CommandIo& io, int& exitCode);

// set-title and set-description: DATA TEXT, stored through `store` (Dictionary::setTitle or
// Dictionary::setDescription). Returns the exit code.
int runSetHeaderText(const std::vector<std::string>& args, const char* usage,
                     Status (Dictionary::*store)(std::u16string_view), CommandIo& io);

// Everything left on the stream, byte for byte.
std::string readAll(std::istream& in);

// The text of positional word `at` when it is given and not "-"; otherwise all of stdin.
std::string textArgumentOrStdin(const std::vector<std::string>& positional, size_t at,
                                CommandIo& io);

// A meaning with a NUL character (read from stdin) would end there once stored: the failure
// that refuses it, naming `file` and the character's byte; kExitOk for any other meaning.
int refuseNul(std::string_view meaning, const std::string& file, CommandIo& io);

}  // namespace lexora::cli
