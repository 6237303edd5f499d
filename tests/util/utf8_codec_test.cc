#include "util/utf8_codec.h"

#include <gtest/gtest.h>

#include <vector>

namespace lexora {
namespace {

std::optional<std::u16string> decode(const std::vector<uint8_t>& bytes) {
  return utf8Decode(bytes.data(), bytes.size());
}

TEST(Utf8EncodeTest, EachUnitTakesOneTwoOrThreeBytes) {
  EXPECT_EQ(utf8Encode(u"A"), "A");
  EXPECT_EQ(utf8Encode(u"\u00E9"), "\xC3\xA9");
  EXPECT_EQ(utf8Encode(u"\u07FF\u0800"), "\xDF\xBF\xE0\xA0\x80");
  EXPECT_EQ(utf8Encode(u"\u1EC7"), "\xE1\xBB\x87");
  EXPECT_EQ(utf8EncodedLength(u"a\u00E9\u1EC7"), 6u);
}

TEST(Utf8EncodeTest, SurrogatePairBecomesTwoThreeByteSequencesAndReadsBack) {
  const std::u16string pair = u"\U0001F600";
  ASSERT_EQ(pair.size(), 2u);
  const std::string bytes = utf8Encode(pair);
  EXPECT_EQ(bytes, "\xED\xA0\xBD\xED\xB8\x80");
  EXPECT_EQ(utf8Decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), pair);
  const std::u16string lone = u"x\xDC00";
  const std::string loneBytes = utf8Encode(lone);
  EXPECT_EQ(utf8Decode(reinterpret_cast<const uint8_t*>(loneBytes.data()), loneBytes.size()), lone);
}

TEST(Utf8EncodeTest, EightyFiveThreeByteLettersFillTheHeadwordLimit) {
  const std::u16string word(85, u'\u1EC7');
  EXPECT_EQ(utf8EncodedLength(word), 255u);
  EXPECT_EQ(utf8EncodedLength(word + u'\u1EC7'), 258u);
}

TEST(Utf8DecodeTest, AcceptsLongSequencesKeepingTheLow16Bits) {
  // 4 bytes: U+1F600 -> low 16 bits 0xF600.
  EXPECT_EQ(decode({0xF0, 0x9F, 0x98, 0x80}), std::u16string(1, char16_t(0xF600)));
  // 5 and 6 bytes, overlong forms allowed.
  EXPECT_EQ(decode({0xF8, 0x80, 0x81, 0x81, 0x81}), std::u16string(1, char16_t(0x1041)));
  EXPECT_EQ(decode({0xFC, 0x80, 0x80, 0x81, 0x81, 0x81}), std::u16string(1, char16_t(0x1041)));
  EXPECT_EQ(decode({0xFD, 0xBF, 0xBF, 0xBF, 0xBF, 0xBF}), std::u16string(1, char16_t(0xFFFF)));
  EXPECT_EQ(decode({0xC1, 0x81}), u"A");  // overlong 'A'
}

TEST(Utf8DecodeTest, MalformedTextIsUnreadable) {
  EXPECT_EQ(decode({}), std::nullopt);
  EXPECT_EQ(decode({0x80}), std::nullopt);  // stray continuation
  EXPECT_EQ(decode({'a', 0xFE}), std::nullopt);
  EXPECT_EQ(decode({'a', 0xFF}), std::nullopt);
  EXPECT_EQ(decode({0xC3, 0x41}), std::nullopt);        // bad continuation
  EXPECT_EQ(decode({0xE1, 0xBB, 0x00}), std::nullopt);  // zero inside a sequence
  EXPECT_EQ(decode({'a', 0xE1, 0xBB}), std::nullopt);   // cut off by the end
}

TEST(Utf8DecodeTest, ZeroLeadByteEndsTheText) {
  EXPECT_EQ(decode({'a', 'b', 0, 0xFF}), u"ab");
  EXPECT_EQ(decode({0, 'a'}), std::nullopt);  // nothing before the end: unreadable
}

}  // namespace
}  // namespace lexora
