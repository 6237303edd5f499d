#pragma once
// Which dictionaries a lookup reads: the data files named on the command line, or the
// installed ones, narrowed by `-d NAME` (given any number of times) to those whose title or
// file name holds NAME, compared without regard to case.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lexora::cli {

// Takes every `-d NAME` pair out of `args` and returns the names; nullopt (with the reason in
// `error`) when a -d has no name after it.
std::optional<std::vector<std::string>> takeDictionaryNames(std::vector<std::string>& args,
                                                            std::string& error);

// True when `name` (UTF-8) is part of `title` or of the base name of `file`, ignoring case.
bool dictionaryNameMatches(std::string_view name, std::string_view title, std::string_view file);

// True when `path` is an existing dictionary data file (a file whose index companion is there
// too): what a forgotten word leaves as a lookup's only argument.
bool looksLikeDictionaryFile(const std::string& path);

}  // namespace lexora::cli
