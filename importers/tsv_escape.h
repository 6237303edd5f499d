#pragma once
// The escapes of the TSV form of a dictionary (one entry per line, headword TAB meaning):
// "\\" "\t" "\n" "\r" stand for backslash, tab, LF and CR in either field.

#include <string>
#include <string_view>

namespace lexora {

std::string escapeTsvField(std::string_view text);

// A backslash before any other character, or at the end, stays as it is.
std::string unescapeTsvField(std::string_view text);

}  // namespace lexora
