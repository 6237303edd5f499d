#pragma once
// Small line-oriented text files of other programs (word lists, affix files): read whole, and
// each line split into the fields that spaces, tabs and carriage returns separate.

#include <string>
#include <string_view>
#include <vector>

namespace lexora {

// The file's bytes into `out` (cleared first); false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& out);

// The line's fields, in order; none for a line of only separators.
std::vector<std::string_view> textFields(std::string_view line);

}  // namespace lexora
