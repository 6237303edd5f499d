#pragma once
// The word a LOOKUP_WORD hand-off brings: the clipboard text as the lookup normalises it, or
// nothing when that leaves no visible character (an empty or blank selection), so that a tap
// on the lookup button with nothing selected neither shows an entry nor adds to the history.

#include <optional>
#include <string>
#include <string_view>

namespace lexora {

std::optional<std::u16string> handOffWord(std::u16string_view clipboardText);

}  // namespace lexora
