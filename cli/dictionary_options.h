#pragma once
// The options shared by `create` and the imports: --collation N, --title T, --description D.

#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace lexora::cli {

inline const std::vector<std::string> kDictionaryOptionNames = {"--collation", "--title",
                                                                "--description"};

struct DictionaryOptions {
  uint32_t collation = 1;  // Latin1 unless asked otherwise
  std::optional<std::u16string> title;
  std::optional<std::u16string> description;
};

// nullopt (with a reason) when --collation is not a number.
std::optional<DictionaryOptions> readDictionaryOptions(const ParsedArguments& parsed,
                                                       std::string& error);

}  // namespace lexora::cli
