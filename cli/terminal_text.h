#pragma once
// Dictionary text on its way to a terminal. Titles, headwords and meanings come from files of
// anywhere, and their control characters would act on the terminal (retitle the window, write
// the clipboard, clear the screen) or forge lines of a listing.

#include <string>
#include <string_view>

#include "cli/command.h"

namespace lexora::cli {

// `utf8` with each control character shown as an escape: C0 but line end and tab ("\x1b"),
// DEL ("\x7f"), C1 ("\u009b") and bytes that are no part of a UTF-8 character ("\x9b").
std::string visibleControls(std::string_view utf8);

// The same for an entry's markup, whose CR LF line ends stay.
std::string entryWithVisibleControls(std::string_view markup);

// A title or a path on one line: its line ends always as escapes ("\n", "\r"), and every other
// control character too when `terminal` is set.
std::string oneLine(std::string_view utf8, bool terminal);

// True when the command writes to the process's standard output and that is a terminal.
bool writesToTerminal(const CommandIo& io);

}  // namespace lexora::cli
