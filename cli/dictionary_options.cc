#include "cli/dictionary_options.h"

#include "importers/standard_utf8.h"

namespace lexora::cli {

std::optional<DictionaryOptions> readDictionaryOptions(const ParsedArguments& parsed,
                                                       std::string& error) {
  DictionaryOptions options;
  if (parsed.has("--collation")) {
    const auto n = parseUnsigned(parsed.option("--collation"));
    if (!n) {
      error = "--collation needs a number";
      return std::nullopt;
    }
    options.collation = *n;
  }
  if (parsed.has("--title")) options.title = fromUtf8(parsed.option("--title"));
  if (parsed.has("--description")) options.description = fromUtf8(parsed.option("--description"));
  return options;
}

}  // namespace lexora::cli
