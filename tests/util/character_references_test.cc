#include "util/character_references.h"

#include <gtest/gtest.h>

namespace lexora {
namespace {

TEST(CharacterReferences, KnownOnesDecodeAndTheRestIsText) {
  EXPECT_EQ(decodeCharacterReferences(u"&lt;n&gt; &amp; &#36;3 &#x2B; &nbsp;&quot;"),
            u"<n> & $3 + \u00a0\"");
  // Not references: unknown names, no semicolon, bad or surrogate numbers.
  for (std::u16string_view text : {u"AT&T", u"&bogus;", u"&lt", u"&#xZZ;", u"&#55296;", u"&;"})
    EXPECT_EQ(decodeCharacterReferences(text), text);
  EXPECT_EQ(decodeCharacterReferences(u"&#128512;"), u"\U0001F600");
}

TEST(CharacterReferences, EachDecodedUnitKnowsWhereItCameFrom) {
  std::vector<std::size_t> sources;
  EXPECT_EQ(decodeCharacterReferences(u"a&lt;b&#128512;", &sources), u"a<b\U0001F600");
  EXPECT_EQ(sources, (std::vector<std::size_t>{0, 1, 5, 6, 6}));
}

}  // namespace
}  // namespace lexora
