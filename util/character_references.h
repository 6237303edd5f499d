#pragma once
// Character references in entry text. The page passes a plain text's "&lt;", "&#36;" and the
// like through to the viewer, which shows the characters they stand for; whatever reads entry
// text without a viewer (the terminal, full-text search) decodes them here. Only the
// references the importers write and the common named ones are known; any other "&" is text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lexora {

// The text with every known reference replaced by its character. With `sources` given, it
// receives for each unit of the result the position in `text` it came from.
std::u16string decodeCharacterReferences(std::u16string_view text,
                                         std::vector<std::size_t>* sources = nullptr);

}  // namespace lexora
