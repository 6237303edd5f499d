#include "cli/arguments.h"

#include <algorithm>

namespace lexora::cli {

std::optional<ParsedArguments> parseArguments(const std::vector<std::string>& args,
                                              const std::vector<std::string>& valueOptions,
                                              size_t minPositional, size_t maxPositional,
                                              std::string& error) {
  ParsedArguments parsed;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (std::find(valueOptions.begin(), valueOptions.end(), a) == valueOptions.end()) {
        error = "unknown option " + a;
        return std::nullopt;
      }
      if (i + 1 >= args.size()) {
        error = "option " + a + " needs a value";
        return std::nullopt;
      }
      if (!parsed.options.emplace(a, args[i + 1]).second) {
        error = "option " + a + " given twice";
        return std::nullopt;
      }
      ++i;
    } else {
      parsed.positional.push_back(a);
    }
  }
  if (parsed.positional.size() < minPositional) {
    error = "missing arguments";
    return std::nullopt;
  }
  if (parsed.positional.size() > maxPositional) {
    error = "too many arguments";
    return std::nullopt;
  }
  return parsed;
}

std::optional<uint32_t> parseUnsigned(const std::string& text) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > UINT32_MAX) return std::nullopt;
  return static_cast<uint32_t>(value);
}

bool takeFlag(std::vector<std::string>& args, const std::string& flag) {
  const auto it = std::find(args.begin(), args.end(), flag);
  if (it == args.end()) return false;
  args.erase(std::remove(args.begin(), args.end(), flag), args.end());
  return true;
}

}  // namespace lexora::cli
