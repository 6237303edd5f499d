#include "engine/file_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace lexora {
namespace {

TEST(FileSetNamesTest, ReplacesTheExtensionOfTheDataFile) {
  const FileSetNames n = fileSetNames("/My Documents/EV.pvm");
  EXPECT_EQ(n.dataFile, "/My Documents/EV.pvm");
  EXPECT_EQ(n.wordFile, "/My Documents/EV.pdw");
  EXPECT_EQ(n.indexFile, "/My Documents/EV.pdi");
}

TEST(FileSetNamesTest, NameWithoutDotAfterLastSlashKeepsItsFullName) {
  const FileSetNames n = fileSetNames("/Storage/dict");
  EXPECT_EQ(n.dataFile, "/Storage/dict");
  EXPECT_EQ(n.wordFile, "/Storage/dict.pdw");
  EXPECT_EQ(n.indexFile, "/Storage/dict.pdi");

  const FileSetNames inFolder = fileSetNames("/a.b/dict");
  EXPECT_EQ(inFolder.wordFile, "/a.b/dict.pdw");
  EXPECT_EQ(fileSetNames("x.y.pvm").indexFile, "x.y.pdi");
}

TEST(DictionaryHeaderTest, FieldsLieAtTheirOffsetsLittleEndian) {
  DictionaryHeader h;
  for (int i = 0; i < 8; ++i) h.signature[i] = static_cast<uint8_t>("QUILLDAT"[i]);
  h.marker = 0x100;
  h.collation = 0x04030201;
  h.nodeData = 0xA1B2C3D4;
  h.lastBlock = 0x1234;
  h.wordCount = 0x11223344;
  h.maxWordChars = 0x55667788;
  h.maxMeaningChars = 0x99AABBCC;
  h.title[0] = u'T';
  h.title[127] = 0x0102;
  h.description[0] = 0x1EC7;
  h.description[255] = 0x0304;
  std::vector<uint8_t> b(HEADER_SIZE, 0xEE);
  h.encodeTo(b.data());

  EXPECT_EQ(std::string(b.begin(), b.begin() + 8), "QUILLDAT");
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 8, b.begin() + 12),
            (std::vector<uint8_t>{0, 1, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 12, b.begin() + 16),
            (std::vector<uint8_t>{1, 2, 3, 4}));
  EXPECT_EQ(b[16], 0xD4);
  EXPECT_EQ(b[19], 0xA1);
  EXPECT_EQ(b[24], 0x34);
  EXPECT_EQ(b[25], 0x12);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 26, b.begin() + 30),
            (std::vector<uint8_t>{0x44, 0x33, 0x22, 0x11}));
  EXPECT_EQ(b[30], 0x88);
  EXPECT_EQ(b[33], 0x55);
  EXPECT_EQ(b[34], 0xCC);
  EXPECT_EQ(b[37], 0x99);
  EXPECT_EQ(b[78], 'T');
  EXPECT_EQ(b[79], 0);
  EXPECT_EQ(b[78 + 254], 0x02);
  EXPECT_EQ(b[78 + 255], 0x01);
  EXPECT_EQ(b[334], 0xC7);
  EXPECT_EQ(b[335], 0x1E);
  EXPECT_EQ(b[844], 0x04);
  EXPECT_EQ(b[845], 0x03);

  const DictionaryHeader back = DictionaryHeader::decodeFrom(b.data());
  EXPECT_EQ(back.lastBlock, 0x1234);
  EXPECT_EQ(back.wordCount, 0x11223344u);
  EXPECT_EQ(back.maxMeaningChars, 0x99AABBCCu);
  EXPECT_EQ(back.nodeData, 0xA1B2C3D4u);
  EXPECT_EQ(back.titleText(), u"T");
  EXPECT_EQ(back.description[255], 0x0304);
}

TEST(DictionaryHeaderTest, ReservedBytesSurviveARoundTrip) {
  std::vector<uint8_t> b(HEADER_SIZE);
  for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 7 + 3);
  std::vector<uint8_t> again(HEADER_SIZE);
  DictionaryHeader::decodeFrom(b.data()).encodeTo(again.data());
  EXPECT_EQ(again, b);
}

TEST(RecordsTest, BlockAndWordRecordsArePacked) {
  uint8_t block[BLOCK_RECORD_SIZE];
  BlockRecord{0x01020304, 0xFD63}.encodeTo(block);
  EXPECT_EQ(std::vector<uint8_t>(block, block + 6), (std::vector<uint8_t>{4, 3, 2, 1, 0x63, 0xFD}));
  EXPECT_EQ(BlockRecord::decodeFrom(block).length, 0xFD63);
  EXPECT_EQ(BlockRecord::fileOffset(1022), 846u + 6 * 1022);

  WordRecord r;
  r.wordOffset = 0x0A0B0C0D;
  r.wordLength = 255;
  r.block = 0x0102;
  r.offset = 0x0304;
  r.meaningLength = 0xFFFF;
  uint8_t w[WORD_RECORD_SIZE];
  r.encodeTo(w);
  EXPECT_EQ(std::vector<uint8_t>(w, w + 12),
            (std::vector<uint8_t>{0x0D, 0x0C, 0x0B, 0x0A, 255, 0, 2, 1, 4, 3, 0xFF, 0xFF}));
  const WordRecord back = WordRecord::decodeFrom(w);
  EXPECT_EQ(back.wordOffset, r.wordOffset);
  EXPECT_EQ(back.meaningLength, 0xFFFF);
  EXPECT_EQ(WordRecord::fileOffset(2), 6984u + 24);
}

}  // namespace
}  // namespace lexora
