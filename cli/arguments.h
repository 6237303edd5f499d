#pragma once
// Splits a command's arguments into positional words and `--name VALUE` options, and reads
// the numbers commands take. A lone "-" is a positional word (it names stdin).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace lexora::cli {

struct ParsedArguments {
  std::vector<std::string> positional;
  std::map<std::string, std::string> options;  // "--from" -> "10"

  bool has(const std::string& name) const { return options.count(name) != 0; }
  const std::string& option(const std::string& name) const { return options.at(name); }
};

// nullopt (with a reason in `error`) when an option is not one of `valueOptions`, an option
// lacks its value, an option is given twice, or the number of positional words lies outside
// [minPositional, maxPositional].
std::optional<ParsedArguments> parseArguments(const std::vector<std::string>& args,
                                              const std::vector<std::string>& valueOptions,
                                              size_t minPositional, size_t maxPositional,
                                              std::string& error);

// True when `args` holds `flag` (a flag without a value, such as "--json"); it is removed.
bool takeFlag(std::vector<std::string>& args, const std::string& flag);

// A plain unsigned decimal number that fits 32 bits; nullopt otherwise.
std::optional<uint32_t> parseUnsigned(const std::string& text);

}  // namespace lexora::cli
