#include "render/terminal_wrap.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(TerminalWrap, ContinuationLinesHangUnderTheTextAfterTheMarker) {
  // 20 columns is the narrowest fold.
  EXPECT_EQ(wrapForTerminal(u"  1. one two three four five\n", 20),
            u"  1. one two three\n     four five\n");
  EXPECT_EQ(wrapForTerminal(u"      \u2022 alpha beta gamma delta", 20),
            u"      \u2022 alpha beta\n        gamma delta");
  EXPECT_EQ(wrapForTerminal(u"12. aaaa bbbb cccc dddd eeee", 20),
            u"12. aaaa bbbb cccc\n    dddd eeee");
  // A plain line hangs at its own leading spaces; short lines and blank lines stay as they are.
  EXPECT_EQ(wrapForTerminal(u"note one two three four five\n\nshort\n", 20),
            u"note one two three\nfour five\n\nshort\n");
}

TEST(TerminalWrap, EscapesTakeNoColumnsAndLongWordsStayWhole) {
  const std::u16string styled = u"  1. \x1b[1mone two three\x1b[0m four";
  EXPECT_EQ(terminalColumns(styled), 23);
  EXPECT_EQ(wrapForTerminal(styled, 20), u"  1. \x1b[1mone two three\x1b[0m\n     four");
  EXPECT_EQ(wrapForTerminal(u"  1. supercalifragilisticexpialidocious x", 20),
            u"  1. supercalifragilisticexpialidocious\n     x");
  // Combining marks take no column, wide characters two.
  EXPECT_EQ(terminalColumns(u"e\u0301\u4e2d"), 3);
}

}  // namespace
}  // namespace lexora
