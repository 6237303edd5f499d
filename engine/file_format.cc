#include "engine/file_format.h"

#include "util/coding.h"

namespace lexora {
namespace {

void put16(uint8_t* out, uint16_t v) { storeLittleEndian(out, v); }
void put32(uint8_t* out, uint32_t v) { storeLittleEndian(out, v); }
uint16_t get16(const uint8_t* in) { return loadLittleEndian<uint16_t>(in); }
uint32_t get32(const uint8_t* in) { return loadLittleEndian<uint32_t>(in); }

// Offsets of the header's fields.
constexpr size_t kSignatureAt = 0;
constexpr size_t kMarkerAt = 8;
constexpr size_t kCollationAt = 12;
constexpr size_t kNodeDataAt = 16;
constexpr size_t kReserved1At = 20;
constexpr size_t kLastBlockAt = 24;
constexpr size_t kWordCountAt = 26;
constexpr size_t kMaxWordCharsAt = 30;
constexpr size_t kMaxMeaningCharsAt = 34;
constexpr size_t kReserved2At = 38;
constexpr size_t kTitleAt = 78;
constexpr size_t kDescriptionAt = 334;

template <size_t N>
std::u16string textUpToNul(const std::array<char16_t, N>& units) {
  size_t n = 0;
  while (n < N && units[n] != 0) ++n;
  return std::u16string(units.data(), n);
}

}  // namespace

void DictionaryHeader::encodeTo(uint8_t* out) const {
  for (size_t i = 0; i < signature.size(); ++i) out[kSignatureAt + i] = signature[i];
  put32(out + kMarkerAt, marker);
  put32(out + kCollationAt, collation);
  put32(out + kNodeDataAt, nodeData);
  for (size_t i = 0; i < reserved1.size(); ++i) out[kReserved1At + i] = reserved1[i];
  put16(out + kLastBlockAt, lastBlock);
  put32(out + kWordCountAt, wordCount);
  put32(out + kMaxWordCharsAt, maxWordChars);
  put32(out + kMaxMeaningCharsAt, maxMeaningChars);
  for (size_t i = 0; i < reserved2.size(); ++i) out[kReserved2At + i] = reserved2[i];
  for (size_t i = 0; i < TITLE_UNITS; ++i) put16(out + kTitleAt + 2 * i, title[i]);
  for (size_t i = 0; i < DESCRIPTION_UNITS; ++i) {
    put16(out + kDescriptionAt + 2 * i, description[i]);
  }
}

DictionaryHeader DictionaryHeader::decodeFrom(const uint8_t* in) {
  DictionaryHeader h;
  for (size_t i = 0; i < h.signature.size(); ++i) h.signature[i] = in[kSignatureAt + i];
  h.marker = get32(in + kMarkerAt);
  h.collation = get32(in + kCollationAt);
  h.nodeData = get32(in + kNodeDataAt);
  for (size_t i = 0; i < h.reserved1.size(); ++i) h.reserved1[i] = in[kReserved1At + i];
  h.lastBlock = get16(in + kLastBlockAt);
  h.wordCount = get32(in + kWordCountAt);
  h.maxWordChars = get32(in + kMaxWordCharsAt);
  h.maxMeaningChars = get32(in + kMaxMeaningCharsAt);
  for (size_t i = 0; i < h.reserved2.size(); ++i) h.reserved2[i] = in[kReserved2At + i];
  for (size_t i = 0; i < TITLE_UNITS; ++i) h.title[i] = get16(in + kTitleAt + 2 * i);
  for (size_t i = 0; i < DESCRIPTION_UNITS; ++i) {
    h.description[i] = get16(in + kDescriptionAt + 2 * i);
  }
  return h;
}

std::u16string DictionaryHeader::titleText() const { return textUpToNul(title); }

std::u16string DictionaryHeader::descriptionText() const { return textUpToNul(description); }

void BlockRecord::encodeTo(uint8_t* out) const {
  put32(out, offset);
  put16(out + 4, length);
}

BlockRecord BlockRecord::decodeFrom(const uint8_t* in) {
  BlockRecord r;
  r.offset = get32(in);
  r.length = get16(in + 4);
  return r;
}

void WordRecord::encodeTo(uint8_t* out) const {
  put32(out, wordOffset);
  out[4] = wordLength;
  out[5] = reserved;
  put16(out + 6, block);
  put16(out + 8, offset);
  put16(out + 10, meaningLength);
}

WordRecord WordRecord::decodeFrom(const uint8_t* in) {
  WordRecord r;
  r.wordOffset = get32(in);
  r.wordLength = in[4];
  r.reserved = in[5];
  r.block = get16(in + 6);
  r.offset = get16(in + 8);
  r.meaningLength = get16(in + 10);
  return r;
}

FileSetNames fileSetNames(std::string_view dataFileName) {
  std::string_view base = dataFileName;
  const size_t dot = dataFileName.rfind('.');
  const size_t slash = dataFileName.rfind('/');
  if (dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash)) {
    base = dataFileName.substr(0, dot);
  }
  FileSetNames names;
  names.dataFile = std::string(dataFileName);
  names.wordFile = std::string(base) + ".pdw";
  names.indexFile = std::string(base) + ".pdi";
  names.resourceFolder = std::string(base) + ".res";
  names.fullTextFile = std::string(base) + ".pfx";
  names.suggestionFile = std::string(base) + ".psg";
  return names;
}

}  // namespace lexora
