// The parsers under the readers: TSV escapes, dictd numbers and index lines.

#include <gtest/gtest.h>

#include "importers/dictd_database.h"
#include "importers/tsv_escape.h"

namespace lexora::importers {
namespace {

TEST(TsvEscape, EscapesRoundTripAndUnknownEscapesStay) {
  const std::string text = "a\\b\tc\nd\re\\\\t";
  EXPECT_EQ(escapeTsvField(text), "a\\\\b\\tc\\nd\\re\\\\\\\\t");
  EXPECT_EQ(unescapeTsvField(escapeTsvField(text)), text);
  EXPECT_EQ(unescapeTsvField("x\\q\\"), "x\\q\\");
  EXPECT_EQ(unescapeTsvField("\\\\n"), "\\n");
}

TEST(DictdNumber, ReadsBase64DigitsAndRefusesOthers) {
  EXPECT_EQ(decodeDictdNumber("A"), 0u);
  EXPECT_EQ(decodeDictdNumber("/"), 63u);
  EXPECT_EQ(decodeDictdNumber("BA"), 64u);
  EXPECT_EQ(decodeDictdNumber("5I"), 57u * 64 + 8);
  EXPECT_FALSE(decodeDictdNumber(""));
  EXPECT_FALSE(decodeDictdNumber("A=B"));
  EXPECT_FALSE(decodeDictdNumber("AAAAAAAAA"));  // past 48 bits
}

TEST(DictdIndex, ParsesLinesAndReportsTheRest) {
  const DictdIndex index = parseDictdIndex("a\tB\tC\r\nbad\n\nb\tB\t!\nc\tA\tB\tC-orig\n");
  ASSERT_EQ(index.lines.size(), 2u);
  EXPECT_EQ(index.lines[0].headword, "a");
  EXPECT_EQ(index.lines[0].offset, 1u);
  EXPECT_EQ(index.lines[0].length, 2u);
  EXPECT_EQ(index.lines[1].headword, "C-orig");
  EXPECT_EQ(index.lines[1].lineNumber, 5u);
  ASSERT_EQ(index.problems.size(), 2u);
  EXPECT_EQ(index.problems[0].rfind("line 2:", 0), 0u);
  EXPECT_TRUE(isDictdMetaEntry("00-database-info"));
  EXPECT_TRUE(isDictdMetaEntry("00databaseshort"));
  EXPECT_FALSE(isDictdMetaEntry("00-gcide-short"));
}

}  // namespace
}  // namespace lexora::importers
